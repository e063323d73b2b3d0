#include "comun/Ayudas.h"

#include "host/controles/WebBrowser.h"
#include "host/datos/ErrorRm.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QTimer>
#include <QWebEngineScript>
#include <QWidget>

QString DescripcionDe(const std::function<void()>& f)
{
    try {
        f();
    } catch (const orvinda::ErrorRm& e) {
        return e.Descripcion();
    }
    return "<sin error>";
}

QString LeerArchivo(const QString& ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QStringList Instantanea(QSqlDatabase db, const QString& tabla, const QString& orden)
{
    QStringList filas;
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT * FROM %1 ORDER BY %2").arg(tabla, orden)))
        return {"<error>"};
    while (q.next()) {
        QStringList f;
        for (int i = 0; i < q.record().count(); ++i)
            f.append(q.value(i).isNull() ? "<NULL>" : q.value(i).toString());
        filas.append(f.join(u'|'));
    }
    return filas;
}

bool InsertarConfiguracion(QSqlDatabase db, const QString& clave, const QList<std::pair<QString, QVariant>>& columnas)
{
    QStringList nombres{"Ca_Cve_Configuracion_Autorizacion"};
    for (const auto& c : columnas)
        nombres << c.first;
    QSqlQuery q(db);
    q.prepare(
        QStringLiteral("INSERT INTO Configuracion_Autorizacion (%1) VALUES (?%2)").arg(nombres.join(u','), QStringLiteral(", ?").repeated(columnas.size())));
    q.addBindValue(clave);
    for (const auto& c : columnas)
        q.addBindValue(c.second);
    return q.exec();
}

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
