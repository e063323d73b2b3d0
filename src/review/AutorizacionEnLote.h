#pragma once

#include "host/controles/WebBrowser.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <memory>

class QTimer;

namespace rm640 {

// Authorizes several documents of one configuration without the dialog,
// one document per turn of the event loop, so the window keeps painting and
// answering between them. Each is rendered off-screen as the dialog would
// render it, keeps the values the template leaves in its page, and runs the
// dialog's statements, comment hook and printing in a transaction of its
// own. A document that fails stays pending, with the message the dialog
// would have shown. One that fails because the session was lost, or the
// server or its disk did not answer, is tried again after a growing wait,
// up to EsperaMaxima in all, before the run goes on.
class AutorizacionEnLote : public QObject
{
    Q_OBJECT

public:
    struct Pendiente
    {
        QString folio;
        QString motivo;
    };
    struct Resumen
    {
        QStringList autorizados;
        QList<Pendiente> pendientes;
        // Authorized, but what followed failed (its printing): the reason.
        QList<Pendiente> avisos;
        // The files the printing of the authorized documents wrote.
        QStringList impresos;
        bool cancelado = false;
    };

    static constexpr int EsperaInicial = 500; // milliseconds
    static constexpr int EsperaMaxima = 30000;

    AutorizacionEnLote(QString clave, QStringList folios, QObject* parent = nullptr);
    ~AutorizacionEnLote() override;

    // Values for the page's fields (by name) that each document's page
    // leaves empty, set before the page is read; a value on the page wins.
    void setValoresComunes(const QVariantMap& valores) { m_valores = valores; }

    // The first document goes on the next turn of the event loop. A run
    // already under way in the process refuses a second one (false).
    bool Iniciar();
    // Stops before the next document, never inside one; a wait to try one
    // again ends at once, the document pending.
    void Cancelar();
    const Resumen& ObtenerResumen() const { return m_resumen; }
    static bool EnCurso();

signals:
    // Before each document, with how many of total are done.
    void Avance(int hechos, int total);
    // The document hechos failed for a passing fault (motivo) and is tried
    // again in milisegundos.
    void EnEspera(int hechos, int total, const QString& motivo, int milisegundos);
    // The summary is ready: every document was tried, or the run was cancelled.
    void Terminada();

private:
    void Siguiente();
    void Intentar();
    void Mostrado();
    void Decidir(const orvinda::WebBrowser::Lectura& pagina);
    void DejarPendiente(const QString& motivo);
    void Terminar();

    QString m_clave, m_tabla, m_campos, m_pagina, m_html;
    bool m_configuracionLeida = false;
    QStringList m_folios;
    QVariantMap m_valores;
    int m_actual = -1;
    // Each try of a document has its own number: what a late answer of an
    // earlier try says is dropped.
    int m_intento = 0;
    // Waited since a document last succeeded or failed for its own reason.
    int m_esperado = 0;
    int m_siguienteEspera = EsperaInicial;
    QString m_motivoEspera;
    QTimer* m_reintento = nullptr;
    bool m_cancelado = false;
    // The current document was decided, or given up waiting for.
    bool m_decidido = false;
    bool m_enCurso = false;
    Resumen m_resumen;
    std::unique_ptr<orvinda::WebBrowser> m_navegador;
    QMetaObject::Connection m_carga;
};

} // namespace rm640
