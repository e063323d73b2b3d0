#include "review/AutorizacionEnLote.h"

#include "host/controles/WebBrowser.h"
#include "host/servicios/Sistema.h"
#include "host/servicios/Utilerias.h"
#include "publico/Publico.h"
#include "publico/Trampa.h"
#include "review/RevisionDocumento.h"

#include <memory>

namespace rm640 {

namespace {

QString BuscarEnConfiguracion(const QString& clave, const QString& columna)
{
    return Publico::Utilerias->BuscarValor(QStringLiteral("Configuracion_Autorizacion"),
                                           QStringLiteral("Ca_Cve_Configuracion_Autorizacion"), clave, columna, 0,
                                           QString(), QString(), QString());
}

// One document down the dialog's road, on a page nobody sees. The reason it
// stays pending is the first message the dialog would have shown, or the
// error that would have kept the dialog from opening.
class Revisor
{
public:
    Revisor(const QString& clave, const QString& tabla, const QString& campos, const QString& pagina)
        : m_clave(clave)
        , m_tabla(tabla)
        , m_campos(campos)
        , m_pagina(pagina)
    {
        m_navegador.TomarPaginaGuardada();
    }

    struct Resultado
    {
        bool autorizado = false;
        // Why it stays pending; once authorized, what failed after it.
        QString motivo;
    };

    Resultado Autorizar(const QString& folio)
    {
        QString motivo;
        const auto reportar = [&motivo](const QString& mensaje, int, const QString&, const QString&) {
            if (motivo.isEmpty())
                motivo = mensaje;
        };
        bool autorizado = false;
        Trampa::Atrapar([&motivo](const QString& descripcion) { motivo = descripcion; },
                        [&] { autorizado = Revisar(folio, reportar, motivo); });
        if (!autorizado && motivo.isEmpty())
            motivo = QStringLiteral("El documento no se autorizó.");
        return {autorizado, motivo};
    }

private:
    bool Revisar(const QString& folio, const RevisionDocumento::Reportar& reportar, QString& motivo)
    {
        const QString html = RevisionDocumento::Renderizar(m_clave, folio);
        if (html.isEmpty()) {
            motivo = QStringLiteral("La configuración %1 ya no existe.").arg(m_clave);
            return false;
        }
        // As the dialog does it: the editor page served anew, its body
        // replaced by the document, the values read from it.
        if (!m_navegador.NavegarYEsperar(m_pagina)) {
            motivo = QStringLiteral("La página %1 no terminó de cargar.").arg(m_pagina);
            return false;
        }
        m_navegador.ReemplazarCuerpo(html);
        // The replacement is queued before any read: the reads see it.
        const RevisionDocumento::Autorizacion autorizacion
            = RevisionDocumento::Autorizar(reportar, m_clave, m_tabla, folio, m_campos,
                                           [this](const QString& campo) { return m_navegador.ValorElemento(campo); });
        if (!autorizacion.ejecutada)
            return false;
        // Printed, or its failure set aside: the authorization stands. A
        // statement that changed no row leaves the notice as the reason.
        RevisionDocumento::Concluir(reportar, autorizacion, m_clave, folio);
        return !autorizacion.sinCambios;
    }

    QString m_clave, m_tabla, m_campos, m_pagina;
    orvinda::WebBrowser m_navegador;
};

} // namespace

AutorizacionEnLote::Resumen AutorizacionEnLote::Ejecutar(const QString& clave, const QStringList& folios,
                                                         const Avance& avance)
{
    Resumen resumen;
    QString tabla, campos, pagina;
    QString fallo;
    // What the inbox looks up before it opens a document, once for all.
    Trampa::Atrapar(
        [&fallo](const QString& descripcion) { fallo = descripcion; },
        [&] {
            tabla = BuscarEnConfiguracion(clave, QStringLiteral("Ca_Tabla"));
            campos = BuscarEnConfiguracion(clave, QStringLiteral("Ca_Campos_Autorizar"));
            pagina = RevisionDocumento::Pagina(
                Publico::Sistema->LeerParametro(QStringLiteral("GEN_URL"), 1, QString(), QString()).toString());
        });
    std::unique_ptr<Revisor> revisor;
    if (fallo.isEmpty())
        revisor = std::make_unique<Revisor>(clave, tabla, campos, pagina);

    for (int i = 0; i < folios.size(); ++i) {
        if (avance && !avance(i, folios.size())) {
            resumen.cancelado = true;
            break;
        }
        const Revisor::Resultado resultado = revisor ? revisor->Autorizar(folios[i]) : Revisor::Resultado{false, fallo};
        if (!resultado.autorizado) {
            resumen.pendientes.append({folios[i], resultado.motivo});
            continue;
        }
        resumen.autorizados.append(folios[i]);
        if (!resultado.motivo.isEmpty())
            resumen.avisos.append({folios[i], resultado.motivo});
    }
    return resumen;
}

} // namespace rm640
