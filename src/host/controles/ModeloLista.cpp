#include "host/controles/ModeloLista.h"

#include "host/controles/ComparacionTexto.h"
#include "host/errores/ErrorRm.h"

#include <QBrush>
#include <QFont>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>
#include <limits>
#include <malloc.h>

namespace orvinda {

namespace {

// Enough cells to tell a column of numbers or dates from one of text.
constexpr int MuestraClase = 200;

// The sign of a row, beside its first cell: a triangle with "!" for a late
// or urgent row, a dot for a new one. Their shapes tell them apart, whatever
// colours the reader sees.
QIcon Signo(bool marcada, bool nueva)
{
    static const QIcon iconos[3] = {
        [] {
            QPixmap p(32, 32);
            p.setDevicePixelRatio(2);
            p.fill(Qt::transparent);
            QPainter pintor(&p);
            pintor.setRenderHint(QPainter::Antialiasing);
            QPainterPath triangulo;
            triangulo.moveTo(8, 1);
            triangulo.lineTo(15, 15);
            triangulo.lineTo(1, 15);
            triangulo.closeSubpath();
            pintor.fillPath(triangulo, ModeloLista::ColorMarca());
            pintor.setPen(QPen(Qt::white, 2));
            pintor.drawLine(QPointF(8, 5.5), QPointF(8, 10));
            pintor.drawPoint(QPointF(8, 12.8));
            return QIcon(p);
        }(),
        [] {
            QPixmap p(32, 32);
            p.setDevicePixelRatio(2);
            p.fill(Qt::transparent);
            QPainter pintor(&p);
            pintor.setRenderHint(QPainter::Antialiasing);
            pintor.setPen(Qt::NoPen);
            pintor.setBrush(QColor(0, 83, 138));
            pintor.drawEllipse(QPointF(8, 8), 4, 4);
            return QIcon(p);
        }(),
        // No sign: the same room, so every first cell starts at one place.
        [] {
            QPixmap p(32, 32);
            p.setDevicePixelRatio(2);
            p.fill(Qt::transparent);
            return QIcon(p);
        }(),
    };
    if (marcada)
        return iconos[0];
    if (nueva)
        return iconos[1];
    return iconos[2];
}

} // namespace

ModeloLista::ModeloLista(QObject* parent)
    : QAbstractTableModel(parent)
{
    VaciarAlmacen();
}

void ModeloLista::VaciarAlmacen()
{
    m_texto = QByteArray();
    m_celdas = {0};
    m_filas = {0};
}

void ModeloLista::Olvidar()
{
    m_plegado = QByteArray();
    m_inicioPlegado = {};
    m_clases.clear();
    m_columnaFecha = -2;
    m_columnaPrioridad = -2;
    m_edades = {};
    m_edadesAlDia = false;
}

void ModeloLista::AgregarColumna(const QString& titulo)
{
    beginInsertColumns({}, m_columnas.size(), m_columnas.size());
    m_columnas.append(titulo);
    Olvidar();
    endInsertColumns();
}

void ModeloLista::LimpiarColumnas()
{
    beginResetModel();
    m_columnas.clear();
    Olvidar();
    endResetModel();
}

void ModeloLista::AgregarCelda(QStringView texto)
{
    // Encoded straight into the store: no temporary per value.
    const qsizetype antes = m_texto.size();
    m_texto.resize(antes + m_utf8.requiredSpace(texto.size()));
    char* fin = m_utf8.appendToBuffer(m_texto.data() + antes, texto);
    m_texto.truncate(fin - m_texto.constData());
    if (static_cast<quint64>(m_texto.size()) > std::numeric_limits<quint32>::max())
        throw ErrorRm(QStringLiteral("La lista no admite más texto."), 7);
    m_celdas.push_back(static_cast<quint32>(m_texto.size()));
}

void ModeloLista::AgregarFila(const QString& texto, const QStringList& subelementos)
{
    const int mostrada = Mostradas();
    beginInsertRows({}, mostrada, mostrada);
    AgregarCelda(texto);
    for (const QString& s : subelementos)
        AgregarCelda(s);
    TerminarFila();
    if (!m_directa)
        m_vista.push_back(Total() - 1);
    if (!m_orden.empty())
        m_orden.push_back(Total() - 1);
    Olvidar();
    endInsertRows();
}

void ModeloLista::Limpiar()
{
    CambiarVista([&] {
        VaciarAlmacen();
        m_orden = {};
        m_vista = {};
        m_directa = true;
        Olvidar();
    });
}

template <typename Cambio>
void ModeloLista::CambiarVista(Cambio cambio)
{
    // Rows go and come rather than a reset, which would also forget the
    // widths the columns were given.
    const int antes = Mostradas();
    if (antes > 0) {
        beginRemoveRows({}, 0, antes - 1);
        m_oculta = true;
        endRemoveRows();
    }
    m_oculta = true;
    cambio();
    m_oculta = false;
    const int despues = Mostradas();
    if (despues > 0) {
        m_oculta = true;
        beginInsertRows({}, 0, despues - 1);
        m_oculta = false;
        endInsertRows();
    }
}

void ModeloLista::ComenzarCarga()
{
    beginResetModel();
    VaciarAlmacen();
    m_orden = {};
    m_vista = {};
    m_directa = true;
    m_cargando = true;
    m_oculta = true;
    Olvidar();
    endResetModel();
}

void ModeloLista::AgregarBloque(const QByteArray& texto, const QList<quint32>& fines, int columnas)
{
    if (!m_cargando || columnas <= 0)
        return;
    const quint64 base = static_cast<quint64>(m_texto.size());
    if (base + static_cast<quint64>(texto.size()) > std::numeric_limits<quint32>::max())
        throw ErrorRm(QStringLiteral("La lista no admite más texto."), 7);
    m_texto.append(texto);
    const quint32 desplazamiento = static_cast<quint32>(base);
    const qsizetype filas = fines.size() / columnas;
    // Grown by push_back, which doubles: a reserve of exactly one more block
    // would copy the whole store again for every block.
    for (qsizetype f = 0; f < filas; ++f) {
        for (int c = 0; c < columnas; ++c)
            m_celdas.push_back(fines[f * columnas + c] + desplazamiento);
        m_filas.push_back(static_cast<quint32>(m_celdas.size() - 1));
    }
}

void ModeloLista::TerminarCarga()
{
    if (!m_cargando)
        return;
    beginResetModel();
    m_texto.squeeze();
    m_celdas.squeeze();
    m_filas.squeeze();
    // What the store outgrew while it filled goes back to the system.
    malloc_trim(0);
    m_cargando = false;
    m_oculta = false;
    // What was worked out from the rows while they came is worked out again.
    Olvidar();
    CalcularOrden();
    CalcularVista();
    endResetModel();
}

QByteArrayView ModeloLista::Celda(int fila, int columna) const
{
    const quint32 primera = m_filas[fila];
    const quint32 k = primera + static_cast<quint32>(columna);
    if (columna < 0 || k >= m_filas[fila + 1])
        return {};
    return QByteArrayView(m_texto.constData() + m_celdas[k], m_celdas[k + 1] - m_celdas[k]);
}

QString ModeloLista::Texto(int mostrada, int columna) const
{
    // QString::fromUtf8 drops a leading U+FEFF; a folio is kept as stored.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return utf8(Celda(FilaAlmacen(mostrada), columna));
}

int ModeloLista::BuscarMostrada(const QString& texto) const
{
    const QByteArray buscado = texto.toUtf8();
    for (int i = 0, n = Mostradas(); i < n; ++i)
        if (Celda(FilaAlmacen(i), 0) == QByteArrayView(buscado))
            return i;
    return -1;
}

void ModeloLista::TomarFilas(ModeloLista& otro)
{
    if (&otro == this || otro.m_cargando)
        return;
    const auto tomar = [&] {
        m_texto.swap(otro.m_texto);
        m_celdas.swap(otro.m_celdas);
        m_filas.swap(otro.m_filas);
        m_orden = {};
        m_vista = {};
        m_directa = true;
        m_cargando = false;
        Olvidar();
        if (m_columnaOrden >= m_columnas.size())
            m_columnaOrden = -1;
        CalcularOrden();
        CalcularVista();
    };
    otro.beginResetModel();
    if (m_columnas == otro.m_columnas) {
        CambiarVista(tomar);
    } else {
        beginResetModel();
        m_columnas = otro.m_columnas;
        tomar();
        m_oculta = false;
        endResetModel();
    }
    otro.VaciarAlmacen();
    otro.m_orden = {};
    otro.m_vista = {};
    otro.m_directa = true;
    otro.Olvidar();
    otro.endResetModel();
}

ModeloLista::Clase ModeloLista::ClaseColumna(int columna) const
{
    if (m_clases.size() != static_cast<size_t>(m_columnas.size())) {
        m_clases.assign(m_columnas.size(), Clase::Texto);
        for (int c = 0; c < m_columnas.size(); ++c) {
            bool numeros = true, fechas = true;
            int vistas = 0;
            for (int f = 0; f < Total() && vistas < MuestraClase && (numeros || fechas); ++f) {
                const QByteArrayView v = Celda(f, c);
                if (v.trimmed().isEmpty())
                    continue;
                ++vistas;
                double d;
                qint64 t;
                numeros = numeros && ComparacionTexto::Numero(v, d);
                fechas = fechas && ComparacionTexto::Fecha(v, t);
            }
            if (vistas > 0)
                m_clases[c] = numeros ? Clase::Numero : fechas ? Clase::Fecha : Clase::Texto;
        }
    }
    return columna >= 0 && columna < static_cast<int>(m_clases.size()) ? m_clases[columna] : Clase::Texto;
}

void ModeloLista::CalcularOrden()
{
    m_orden = {};
    const int c = m_columnaOrden;
    if (c < 0 || c >= m_columnas.size())
        return;
    const int n = Total();
    m_orden.resize(n);
    for (int i = 0; i < n; ++i)
        m_orden[i] = i;
    const bool asc = m_sentido == Qt::AscendingOrder;
    // Cells that do not read as the column's kind go last either way.
    const auto ordenar = [&](auto claves) {
        std::stable_sort(m_orden.begin(), m_orden.end(), [&](int a, int b) {
            const auto& ka = claves[a];
            const auto& kb = claves[b];
            if (ka.first != kb.first)
                return ka.first;
            return asc ? ka.second < kb.second : kb.second < ka.second;
        });
    };
    switch (ClaseColumna(c)) {
    case Clase::Numero: {
        std::vector<std::pair<bool, double>> claves(n);
        for (int i = 0; i < n; ++i)
            claves[i].first = ComparacionTexto::Numero(Celda(i, c), claves[i].second);
        ordenar(std::move(claves));
        break;
    }
    case Clase::Fecha: {
        std::vector<std::pair<bool, qint64>> claves(n);
        for (int i = 0; i < n; ++i)
            claves[i].first = ComparacionTexto::Fecha(Celda(i, c), claves[i].second);
        ordenar(std::move(claves));
        break;
    }
    case Clase::Texto: {
        // Every cell folded into one buffer, and its first eight bytes as a
        // number: most comparisons end there, without touching the text.
        QByteArray plegado;
        plegado.reserve(m_texto.size() / std::max<qsizetype>(1, m_columnas.size()) + n);
        std::vector<quint32> inicio(n + 1);
        std::vector<quint64> prefijo(n);
        for (int i = 0; i < n; ++i) {
            inicio[i] = static_cast<quint32>(plegado.size());
            ComparacionTexto::PlegarEn(Celda(i, c), plegado);
            quint64 p = 0;
            const qsizetype largo = plegado.size() - inicio[i];
            for (qsizetype k = 0; k < 8; ++k)
                p = (p << 8) | (k < largo ? static_cast<unsigned char>(plegado[inicio[i] + k]) : 0u);
            prefijo[i] = p;
        }
        inicio[n] = static_cast<quint32>(plegado.size());
        const auto texto
            = [&](int i) { return QByteArrayView(plegado.constData() + inicio[i], inicio[i + 1] - inicio[i]); };
        const auto menor = [&](int a, int b) {
            if (prefijo[a] != prefijo[b])
                return prefijo[a] < prefijo[b];
            return texto(a).compare(texto(b)) < 0;
        };
        std::stable_sort(m_orden.begin(), m_orden.end(), [&](int a, int b) { return asc ? menor(a, b) : menor(b, a); });
        break;
    }
    }
}

void ModeloLista::PrepararBusqueda() const
{
    if (m_inicioPlegado.size() == static_cast<size_t>(m_filas.size()))
        return;
    const int n = Total();
    m_plegado = QByteArray();
    m_plegado.reserve(m_texto.size() + 2 * (m_celdas.size()));
    m_inicioPlegado.assign(1, 0);
    m_inicioPlegado.reserve(n + 1);
    for (int f = 0; f < n; ++f) {
        for (quint32 k = m_filas[f]; k < m_filas[f + 1]; ++k) {
            ComparacionTexto::PlegarEn(QByteArrayView(m_texto.constData() + m_celdas[k], m_celdas[k + 1] - m_celdas[k]),
                                       m_plegado);
            // A separator no one can type: a match never spans two cells.
            m_plegado.append('\x1f');
        }
        m_inicioPlegado.push_back(static_cast<quint32>(m_plegado.size()));
    }
}

void ModeloLista::CalcularVista()
{
    m_vista = {};
    if (m_aguja.isEmpty()) {
        m_directa = m_orden.empty();
        if (!m_directa)
            m_vista = m_orden;
        return;
    }
    PrepararBusqueda();
    m_directa = false;
    const QByteArrayView aguja(m_aguja);
    const auto considerar = [&](int f) {
        const QByteArrayView fila(m_plegado.constData() + m_inicioPlegado[f],
                                  m_inicioPlegado[f + 1] - m_inicioPlegado[f]);
        if (fila.contains(aguja))
            m_vista.push_back(f);
    };
    if (m_orden.empty())
        for (int f = 0, n = Total(); f < n; ++f)
            considerar(f);
    else
        for (int f : m_orden)
            considerar(f);
}

void ModeloLista::Filtrar(const QString& texto)
{
    if (texto == m_filtro)
        return;
    CambiarVista([&] {
        m_filtro = texto;
        m_aguja = ComparacionTexto::Plegar(texto.trimmed().toUtf8());
        CalcularVista();
    });
}

void ModeloLista::sort(int columna, Qt::SortOrder sentido)
{
    CambiarVista([&] {
        m_columnaOrden = columna;
        m_sentido = sentido;
        CalcularOrden();
        CalcularVista();
    });
}

int ModeloLista::rowCount(const QModelIndex& padre) const
{
    return padre.isValid() ? 0 : Mostradas();
}

int ModeloLista::columnCount(const QModelIndex& padre) const
{
    return padre.isValid() ? 0 : static_cast<int>(m_columnas.size());
}

QVariant ModeloLista::data(const QModelIndex& indice, int rol) const
{
    if (!indice.isValid() || indice.row() >= Mostradas())
        return {};
    const int fila = FilaAlmacen(indice.row());
    switch (rol) {
    case Qt::DisplayRole: return Texto(indice.row(), indice.column());
    case Qt::ToolTipRole:
        if (indice.column() == ColumnaFecha() && Edad(fila) >= 0)
            return TextoEdad(Edad(fila));
        if (indice.column() == 0 || !Observacion(fila).isEmpty()) {
            const QString marcas = DescripcionMarcas(fila);
            if (!marcas.isEmpty())
                return marcas;
        }
        return {};
    case Qt::AccessibleDescriptionRole: {
        const QString marcas = DescripcionMarcas(fila);
        return marcas.isEmpty() ? QVariant() : QVariant(marcas);
    }
    case Qt::ForegroundRole:
        if (Marcada(fila))
            return QBrush(ColorMarca());
        return {};
    case Qt::FontRole:
        if (Nueva(fila)) {
            QFont negrita;
            negrita.setBold(true);
            return negrita;
        }
        return {};
    case Qt::DecorationRole:
        if (indice.column() == 0)
            return Signo(Marcada(fila), Nueva(fila));
        return {};
    case Qt::TextAlignmentRole:
        if (ClaseColumna(indice.column()) == Clase::Numero)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default: return {};
    }
}

QVariant ModeloLista::headerData(int seccion, Qt::Orientation orientacion, int rol) const
{
    if (orientacion != Qt::Horizontal || seccion < 0 || seccion >= m_columnas.size())
        return {};
    if (rol == Qt::DisplayRole)
        return m_columnas.at(seccion);
    if (rol == Qt::TextAlignmentRole && ClaseColumna(seccion) == Clase::Numero)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

} // namespace orvinda
