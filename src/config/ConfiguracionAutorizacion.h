#pragma once

#include <QString>
#include <optional>

namespace orvinda {
class Conexion;
class Recordset;
} // namespace orvinda

namespace rm640 {

// One row of Configuracion_Autorizacion: one kind of document that waits
// for authorization. Texts are as stored; a NULL text column reads as empty
// here, except where the difference matters (the state and the dates).
struct ConfiguracionAutorizacion
{
    static constexpr const char* Tabla = "Configuracion_Autorizacion";
    static constexpr const char* ColumnaClave = "Ca_Cve_Configuracion_Autorizacion";

    // Logical state: rows are never removed, only switched off and on.
    enum class Estado { Activa, Baja };
    static constexpr const char* EstadoActiva = "AC";
    static constexpr const char* EstadoBaja = "BA";

    QString clave; // Ca_Cve_Configuracion_Autorizacion
    QString descripcion; // Ca_Descripcion
    QString etiqueta; // Ca_Etiqueta
    QString formatoImpresion; // Ca_Formato_Impresion
    QString tabla; // Ca_Tabla
    QString tablaClave; // Ca_Tabla_Clave
    QString sql; // Ca_Sql
    QString sqlAutorizacion; // Ca_Sql_Autoriazion (spelled so in the table)
    QString camposAutorizar; // Ca_Campos_Autorizar
    QString sqlPlantilla; // Ca_Sql_Plantilla
    QString plantilla; // Ca_Plantilla_Autorizacion
    QString sqlRechazar; // Ca_Sql_Rechazar
    std::optional<QString> fechaAlta, fechaUltModif, fechaBaja;
    QString operAlta, operUltModif, operBaja;
    std::optional<QString> estado; // Es_Cve_Estado; NULL is possible

    friend bool operator==(const ConfiguracionAutorizacion&, const ConfiguracionAutorizacion&) = default;

    // Only a state other than 'BA' counts as active; a row without state does not.
    Estado EstadoLogico() const;

    // The row with that key, whatever its state; nullopt when there is none.
    static std::optional<ConfiguracionAutorizacion> Leer(orvinda::Conexion& conexion, const QString& clave);
    // The current row of a recordset of SELECT *.
    static ConfiguracionAutorizacion DesdeFila(const orvinda::Recordset& fila);

    // The literal forms of the editor's statements. The stored text equals the
    // field text for any content: the closing quote character is doubled.
    static QString LiteralSimple(const QString& valor); // 'valor'
    static QString LiteralDoble(const QString& valor); // "valor", for the four SQL texts
    // Escaped content only, without the surrounding quotes.
    static QString EscaparSimple(const QString& valor);
    static QString EscaparDoble(const QString& valor);
};

} // namespace rm640
