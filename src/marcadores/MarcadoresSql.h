#pragma once

#include "host/errores/ErrorRm.h"
#include "marcadores/Marcadores.h"

namespace rm640 {

// A value that cannot stand where its token does; nothing may run.
class ValorNoAdmitido : public orvinda::ErrorRm
{
public:
    ValorNoAdmitido(const QString& campo, const QString& motivo);
    // For a text other than a statement; donde names it ("la plantilla").
    ValorNoAdmitido(const QString& campo, const QString& motivo, const QString& donde);
    const QString& Campo() const { return m_campo; }

private:
    QString m_campo;
};

// The expansions of the statements that run, with every value quoted by
// where its token stands: inside '...' its single quotes are doubled, inside
// "..." its double quotes; outside any literal only a number (or nothing)
// is taken. The passes run one after another as in Marcadores, so a value
// that carries a token still receives that token's value later.
// In Modo::Empalmar every value goes in unchanged, as it always did.
class MarcadoresSql
{
public:
    enum class Modo { Citar, Empalmar };

    // The configuration key as it goes between the SELECTs' single quotes.
    static QString Clave(const QString& clave, Modo modo);

    // Every occurrence of marcador replaced by valor quoted for its place;
    // campo names the value in the ValorNoAdmitido it may throw.
    static QString Sustituir(const QString& texto, const QString& marcador, const QString& valor, const QString& campo);

    static QString ExpandirConsulta(const QString& consulta, const QString& folio, Modo modo);
    static ExpansionAutorizacion ExpandirAutorizacion(const QString& sentencia, const QString& listaCampos,
                                                      const QStringList& columnas,
                                                      const Marcadores::LectorValor& leerValor,
                                                      const Marcadores::GanchoComentario& guardarComentario,
                                                      const QString& folio, const QString& operador,
                                                      const QString& fecha, Modo modo);
    static QString ExpandirRechazo(const QString& sentencia, const QString& folio, const QString& operador,
                                   const QString& fecha, Modo modo);
};

} // namespace rm640
