#pragma once

#include "host/controles/WebBrowser.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

namespace rm640 {

// Authorizes several documents of one configuration without the dialog,
// one document per turn of the event loop, so the window keeps painting and
// answering between them. Each is rendered off-screen as the dialog would
// render it, keeps the values the template leaves in its page, and runs the
// dialog's statements, comment hook and printing in a transaction of its
// own. A document that fails stays pending, with the message the dialog
// would have shown.
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
        bool cancelado = false;
    };

    AutorizacionEnLote(QString clave, QStringList folios, QObject* parent = nullptr);
    ~AutorizacionEnLote() override;

    // The first document goes on the next turn of the event loop. A run
    // already under way in the process refuses a second one (false).
    bool Iniciar();
    // Stops before the next document, never inside one.
    void Cancelar();
    const Resumen& ObtenerResumen() const { return m_resumen; }
    static bool EnCurso();

signals:
    // Before each document, with how many of total are done.
    void Avance(int hechos, int total);
    // The summary is ready: every document was tried, or the run was cancelled.
    void Terminada();

private:
    void Siguiente();
    void Mostrado();
    void Decidir(const orvinda::WebBrowser::Lectura& pagina);
    void DejarPendiente(const QString& motivo);
    void Terminar();

    QString m_clave, m_tabla, m_campos, m_pagina, m_html;
    QString m_fallo;
    QStringList m_folios;
    int m_actual = -1;
    bool m_cancelado = false;
    // The current document was decided, or given up waiting for.
    bool m_decidido = false;
    bool m_enCurso = false;
    Resumen m_resumen;
    std::unique_ptr<orvinda::WebBrowser> m_navegador;
    QMetaObject::Connection m_carga;
};

} // namespace rm640
