#include "editor/frmConfiguracion.h"

#include "config/ConfiguracionAutorizacion.h"
#include "host/controles/RichTextBox.h"
#include "host/controles/txtVEX.h"

// The save statements, piece by piece as they go on the wire.

namespace rm640 {

namespace {

// The stored text must equal the field text: the literal forms of the
// configuration record double the character that would end each literal.
const auto Simple = &ConfiguracionAutorizacion::EscaparSimple;

const auto Doble = &ConfiguracionAutorizacion::EscaparDoble;

QString MarcoS(const QString& valor)
{
    return QStringLiteral("   '") + Simple(valor) + QStringLiteral("', ");
}

QString MarcoD(const QString& valor)
{
    return QStringLiteral("   \"") + Doble(valor) + QStringLiteral("\", ");
}

} // namespace

QString frmConfiguracion::SentenciaInsertar(const QString& operador, const QString& fecha) const
{
    QString s;
    s += QStringLiteral("INSERT INTO Configuracion_Autorizacion(");
    s += QStringLiteral("   Ca_Cve_Configuracion_Autorizacion, ");
    s += QStringLiteral("   Ca_Descripcion,  ");
    s += QStringLiteral("   Ca_Etiqueta,  ");
    s += QStringLiteral("   Ca_Formato_Impresion,  ");
    s += QStringLiteral("   Ca_Tabla,  ");
    s += QStringLiteral("   Ca_Tabla_Clave,  ");
    s += QStringLiteral("   Ca_Sql,  ");
    s += QStringLiteral("   Ca_Sql_Autoriazion,  ");
    s += QStringLiteral("   Ca_Campos_Autorizar,  ");
    s += QStringLiteral("   Ca_Sql_Plantilla,  ");
    s += QStringLiteral("   Ca_Plantilla_Autorizacion,  ");
    s += QStringLiteral("   Ca_Sql_Rechazar,  ");
    s += QStringLiteral("   Fecha_Alta, ");
    s += QStringLiteral("   Fecha_Ult_Modif, ");
    s += QStringLiteral("   Oper_Alta, ");
    s += QStringLiteral("   Oper_Ult_Modif) ");
    s += QStringLiteral("   VALUES (");
    s += MarcoS(m_txtClave->Texto());
    s += MarcoS(m_txtDescripcion->Texto());
    s += MarcoS(m_txtPestania->Texto());
    s += MarcoS(m_txtFto_Impresion->Texto());
    s += MarcoS(m_txtTabla->Texto());
    s += MarcoS(m_txtClave_Principal->Texto());
    s += MarcoD(m_txtProcedimiento[0]->Text());
    s += MarcoD(m_txtProcedimiento[1]->Text());
    s += MarcoS(m_txtCampos1->Texto());
    s += MarcoD(m_txtProcedimiento[2]->Text());
    s += MarcoS(m_txtProcedimiento[3]->Text());
    s += MarcoD(m_txtProcedimiento[4]->Text());
    s += MarcoS(fecha);
    s += MarcoS(fecha);
    s += MarcoS(operador);
    s += QStringLiteral("   '") + Simple(operador) + QStringLiteral("')");
    return s;
}

QString frmConfiguracion::SentenciaActualizar(const QString& operador, const QString& fecha) const
{
    const QString dc = QStringLiteral("\"");
    QString s;
    s += QStringLiteral("UPDATE Configuracion_Autorizacion SET ");
    s += QStringLiteral("   Ca_Descripcion = '") + Simple(m_txtDescripcion->Texto()) + QStringLiteral("', ");
    s += QStringLiteral("   Ca_Etiqueta = '") + Simple(m_txtPestania->Texto()) + QStringLiteral("', ");
    s += QStringLiteral("   Ca_Formato_Impresion = '") + Simple(m_txtFto_Impresion->Texto()) + QStringLiteral("', ");
    s += QStringLiteral("   Ca_Tabla = '") + Simple(m_txtTabla->Texto()) + QStringLiteral("', ");
    s += QStringLiteral("   Ca_Tabla_Clave = '") + Simple(m_txtClave_Principal->Texto()) + QStringLiteral("', ");
    s += QStringLiteral("   Ca_Sql = ") + dc + Doble(m_txtProcedimiento[0]->Text()) + dc + QStringLiteral(", ");
    s += QStringLiteral("   Ca_Sql_Autoriazion = ") + dc + Doble(m_txtProcedimiento[1]->Text()) + dc
        + QStringLiteral(", ");
    s += QStringLiteral("   Ca_Campos_Autorizar = '") + Simple(m_txtCampos1->Texto()) + QStringLiteral("', ");
    s += QStringLiteral("   Ca_Sql_Plantilla = ") + dc + Doble(m_txtProcedimiento[2]->Text()) + dc
        + QStringLiteral(", ");
    s += QStringLiteral("   Ca_Plantilla_Autorizacion = '") + Simple(m_txtProcedimiento[3]->Text())
        + QStringLiteral("', ");
    s += QStringLiteral("   Ca_Sql_Rechazar = ") + dc + Doble(m_txtProcedimiento[4]->Text()) + dc
        + QStringLiteral(", ");
    s += QStringLiteral("   Oper_Ult_Modif = '") + Simple(operador) + QStringLiteral("', ");
    s += QStringLiteral("   Fecha_Ult_Modif = '") + Simple(fecha) + QStringLiteral("' ");
    s += QStringLiteral("WHERE Ca_Cve_Configuracion_Autorizacion = '") + Simple(m_txtClave->Texto())
        + QStringLiteral("'");
    return s;
}

} // namespace rm640
