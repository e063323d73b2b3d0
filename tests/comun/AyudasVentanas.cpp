#include "comun/AyudasVentanas.h"

#include "host/controles/ListView.h"
#include "host/controles/WebBrowser.h"
#include "host/errores/ErrorRm.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWebEngineScript>
#include <QWidget>

bool EsperarPagina(orvinda::WebBrowser& navegador, const QString& marca, int ms)
{
    return QTest::qWaitFor(
        [&] {
            try {
                return navegador.HtmlCuerpo().contains(marca);
            } catch (const orvinda::ErrorRm&) {
                return false;
            }
        },
        ms);
}

bool EscribirCampo(orvinda::WebBrowser& navegador, const QString& campo, const QString& valor)
{
    const QByteArray texto = QJsonDocument(QJsonArray{valor}).toJson(QJsonDocument::Compact);
    bool listo = false;
    navegador.page()->runJavaScript(QStringLiteral("document.getElementById('%1').value = %2; 1").arg(campo, QString::fromUtf8(texto.mid(1).chopped(1))),
                                    QWebEngineScript::ApplicationWorld, [&](const QVariant&) { listo = true; });
    return QTest::qWaitFor([&] { return listo; }, 5000);
}

void AlAbrirseModal(QObject& dueno, std::function<QWidget*()> buscar, std::function<void(QWidget&)> accion)
{
    auto* sondeo = new QTimer(&dueno);
    sondeo->setInterval(5);
    QObject::connect(sondeo, &QTimer::timeout, [sondeo, buscar, accion] {
        QWidget* w = buscar();
        if (!w || !w->isVisible())
            return;
        sondeo->stop();
        sondeo->deleteLater();
        accion(*w);
        if (w->isVisible())
            w->close();
    });
    sondeo->start();
}

QString EsperarLista(orvinda::ListView& lista, int ms)
{
    QSignalSpy fin(&lista, &orvinda::ListView::LlenadoTerminado);
    if (!lista.Llenando())
        return QString();
    if (!fin.wait(ms))
        return "<la lista no terminó de llenarse>";
    return fin.first().first().toString();
}
