// The marks of a row: its age against the date of reference, late and
// urgent rows, and rows new since the last look.

#include "host/controles/ModeloLista.h"

#include "host/controles/ComparacionTexto.h"

#include <algorithm>
#include <limits>

namespace orvinda {

namespace {

// A date cell as a day: -1 when it does not read as one.
qint64 DiaJuliano(QByteArrayView celda)
{
    qint64 valor = 0;
    if (!ComparacionTexto::Fecha(celda, valor))
        return -1;
    const qint64 dia = valor / 1000000;
    const QDate fecha(static_cast<int>(dia / 10000), static_cast<int>(dia / 100 % 100), static_cast<int>(dia % 100));
    return fecha.isValid() ? fecha.toJulianDay() : -1;
}

} // namespace

int ModeloLista::ColumnaFecha() const
{
    if (m_columnaFecha == -2) {
        m_columnaFecha = -1;
        for (int c = 0; c < m_columnas.size(); ++c)
            if (ClaseColumna(c) == Clase::Fecha) {
                m_columnaFecha = c;
                break;
            }
    }
    return m_columnaFecha;
}

int ModeloLista::ColumnaPrioridad() const
{
    if (m_columnaPrioridad == -2) {
        m_columnaPrioridad = -1;
        for (int c = 0; c < m_columnas.size(); ++c)
            if (ComparacionTexto::Plegar(m_columnas[c].trimmed().toUtf8()) == "prioridad") {
                m_columnaPrioridad = c;
                break;
            }
    }
    return m_columnaPrioridad;
}

void ModeloLista::CalcularEdades()
{
    m_edades = {};
    m_edadesAlDia = true;
    const int c = ColumnaFecha();
    if (!m_hoy.isValid() || c < 0)
        return;
    const qint64 hoy = m_hoy.toJulianDay();
    const int n = Total();
    m_edades.resize(n);
    for (int f = 0; f < n; ++f) {
        const qint64 dia = DiaJuliano(Celda(f, c));
        m_edades[f] = dia < 0
            ? qint16(-1)
            : static_cast<qint16>(std::clamp<qint64>(hoy - dia, std::numeric_limits<qint16>::min() + 1,
                                                     std::numeric_limits<qint16>::max()));
    }
}

int ModeloLista::Edad(int fila) const
{
    if (!m_edadesAlDia)
        const_cast<ModeloLista*>(this)->CalcularEdades();
    if (fila < 0 || static_cast<size_t>(fila) >= m_edades.size())
        return -1;
    // A date after the date of reference is no age.
    const int edad = m_edades[fila];
    return edad < 0 ? -1 : edad;
}

int ModeloLista::EdadMayor() const
{
    int mayor = -1;
    if (!m_edadesAlDia)
        const_cast<ModeloLista*>(this)->CalcularEdades();
    if (m_edades.empty())
        return -1;
    for (int i = 0, n = Mostradas(); i < n; ++i)
        mayor = std::max<int>(mayor, m_edades[FilaAlmacen(i)]);
    return mayor;
}

void ModeloLista::setFechaReferencia(const QDate& hoy)
{
    if (hoy == m_hoy)
        return;
    m_hoy = hoy;
    m_edadesAlDia = false;
    AvisarMarcas();
}

void ModeloLista::setDiasAtraso(int dias)
{
    if (dias == m_diasAtraso)
        return;
    m_diasAtraso = dias;
    AvisarMarcas();
}

bool ModeloLista::Atrasada(int fila) const
{
    return Edad(fila) > m_diasAtraso;
}

bool ModeloLista::Urgente(int fila) const
{
    const int c = ColumnaPrioridad();
    return c >= 0 && ComparacionTexto::Plegar(Celda(fila, c).trimmed()) == "urgente";
}

void ModeloLista::setNuevas(const QSet<size_t>& huellas)
{
    if (huellas == m_nuevas)
        return;
    m_nuevas = huellas;
    AvisarMarcas();
}

void ModeloLista::setObservaciones(const QHash<size_t, QString>& observaciones)
{
    if (observaciones == m_observaciones)
        return;
    m_observaciones = observaciones;
    AvisarMarcas();
}

QString ModeloLista::Observacion(int fila) const
{
    return m_observaciones.isEmpty() ? QString() : m_observaciones.value(Huella(Celda(fila, 0)));
}

bool ModeloLista::Nueva(int fila) const
{
    return !m_nuevas.isEmpty() && m_nuevas.contains(Huella(Celda(fila, 0)));
}

bool ModeloLista::QuitarNueva(const QString& folio)
{
    if (!m_nuevas.remove(Huella(folio.toUtf8())))
        return false;
    const int fila = BuscarMostrada(folio);
    if (fila >= 0)
        emit dataChanged(index(fila, 0), index(fila, columnCount() - 1));
    return true;
}

QString ModeloLista::TextoEdad(int dias)
{
    if (dias < 0)
        return QString();
    if (dias == 0)
        return QStringLiteral("hoy");
    if (dias == 1)
        return QStringLiteral("hace 1 día");
    return QStringLiteral("hace %1 días").arg(dias);
}

QString ModeloLista::DescripcionMarcas(int fila) const
{
    QStringList partes;
    if (Atrasada(fila))
        partes.append(
            QStringLiteral("Atrasado: %1 (más de %2)")
                .arg(TextoEdad(Edad(fila)),
                     m_diasAtraso == 1 ? QStringLiteral("1 día") : QStringLiteral("%1 días").arg(m_diasAtraso)));
    if (Urgente(fila))
        partes.append(QStringLiteral("Urgente"));
    if (Nueva(fila))
        partes.append(QStringLiteral("Nuevo desde la última consulta"));
    // What a command just said of the row comes first.
    const QString observacion = Observacion(fila);
    if (!observacion.isEmpty())
        partes.prepend(observacion);
    return partes.join(QStringLiteral("; "));
}

QColor ModeloLista::ColorMarca()
{
    return QColor(155, 20, 20);
}

void ModeloLista::AvisarMarcas()
{
    const int filas = Mostradas();
    if (filas > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(filas - 1, columnCount() - 1));
}

} // namespace orvinda
