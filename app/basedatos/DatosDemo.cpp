#include "basedatos/DatosDemo.h"

#include "basedatos/CatalogoDemo.h"
#include "basedatos/EsquemaBaseDatos.h"
#include "basedatos/FormatoDemo.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace orvinda {

namespace {

constexpr quint32 kSemilla = 640;

using Centavos = CatalogoDemo::Centavos;
using Departamento = CatalogoDemo::Departamento;
using Empleado = CatalogoDemo::Empleado;
using Proveedor = CatalogoDemo::Proveedor;
using Articulo = CatalogoDemo::Articulo;
using ConceptoGasto = CatalogoDemo::ConceptoGasto;
const auto Recurso = &CatalogoDemo::Recurso;
const auto Tabla = &CatalogoDemo::Tabla;
const auto Pesos = &FormatoDemo::Pesos;
const auto Monto = &FormatoDemo::Monto;
const auto Iva = &FormatoDemo::Iva;
const auto TextoFecha = &FormatoDemo::TextoFecha;
const auto TextoFechaHora = &FormatoDemo::TextoFechaHora;
const auto Celda = &FormatoDemo::Celda;

// ---------------------------------------------------------------- loader

struct Linea
{
    QString articulo, descripcion, unidad;
    int cantidad = 0;
    Centavos precio = 0, importe = 0;
};

class Cargador
{
public:
    Cargador(QSqlDatabase& db, EsquemaBaseDatos::Dialecto dialecto)
        : m_db(db)
        , m_dialecto(dialecto)
        , m_rng(kSemilla)
    {
    }

    void Todo()
    {
        Parametros();
        Operadores();
        Catalogos();
        Requisiciones();
        Ordenes();
        ReportesGastos();
        Vacaciones();
        Comentarios();
        ConfiguracionesAutorizacion();
        // Last, so that a clash here proves the whole load rolls back.
        FormatosImpresion();
    }

private:
    // ------------------------------------------------------------ helpers

    int Entre(int minimo, int maximo) { return minimo + int(m_rng.bounded(quint32(maximo - minimo + 1))); }
    bool Probable(int porciento) { return Entre(1, 100) <= porciento; }
    template <typename Lista>
    const auto& Elegir(const Lista& a)
    {
        return a[std::size_t(Entre(0, int(a.size()) - 1))];
    }

    QSqlQuery Preparar(const QString& sql)
    {
        QSqlQuery q(m_db);
        if (!q.prepare(sql))
            throw std::runtime_error(q.lastError().text().toStdString());
        return q;
    }

    static void Ejecutar(QSqlQuery& q, std::initializer_list<QVariant> valores)
    {
        int i = 0;
        for (const auto& v : valores)
            q.bindValue(i++, v);
        if (!q.exec())
            throw std::runtime_error(q.lastError().text().toStdString());
    }

    static QVariant Nulo() { return QVariant(QMetaType::fromType<QString>()); }

    // Business days spread over the last `dias` days, oldest first, so that
    // folio order and date order agree.
    static std::vector<QDate> Fechas(int cantidad, int dias)
    {
        std::vector<QDate> fechas;
        for (int i = 0; i < cantidad; ++i) {
            QDate d = DatosDemo::FechaBase().addDays(-qint64(dias) * (cantidad - 1 - i) / std::max(1, cantidad - 1));
            while (d.dayOfWeek() > 5)
                d = d.addDays(-1);
            fechas.push_back(d);
        }
        return fechas;
    }

    QDateTime MomentoRevision(const QDate& documento)
    {
        QDate d = documento.addDays(Entre(1, 3));
        while (d.dayOfWeek() > 5)
            d = d.addDays(1);
        // Braces fix the order of the three draws, which plain arguments would not.
        return QDateTime(d, QTime{Entre(9, 18), Entre(0, 59), Entre(0, 59)});
    }

    std::vector<const Articulo*> ArticulosDe(const QString& categorias) const
    {
        std::vector<const Articulo*> r;
        for (const auto& a : m_cat.articulos)
            if (categorias.contains(a.categoria))
                r.push_back(&a);
        return r;
    }

    // 1..8 distinct articles of the given categories, with quantities that
    // make sense for their price.
    std::vector<Linea> Lineas(const QString& categorias, bool precioEstimado)
    {
        auto pool = ArticulosDe(categorias);
        const int n = std::min<int>(Entre(1, 8), int(pool.size()));
        std::vector<Linea> lineas;
        for (int i = 0; i < n; ++i) {
            const int j = Entre(i, int(pool.size()) - 1);
            std::swap(pool[std::size_t(i)], pool[std::size_t(j)]);
            const Articulo& a = *pool[std::size_t(i)];
            Linea l;
            l.articulo = a.clave;
            l.descripcion = a.descripcion;
            l.unidad = a.unidad;
            l.cantidad = a.precio >= 200000 ? Entre(1, 3) : a.precio >= 50000 ? Entre(1, 6) : Entre(2, 24);
            l.precio = precioEstimado ? (a.precio * Entre(95, 110) + 50) / 100 : a.precio;
            l.importe = l.precio * l.cantidad;
            lineas.push_back(l);
        }
        return lineas;
    }

    static Centavos Subtotal(const std::vector<Linea>& lineas)
    {
        Centavos subtotal = 0;
        for (const auto& l : lineas)
            subtotal += l.importe;
        return subtotal;
    }

    // The lines of a requisition or an order, numbered from 1.
    void InsertarPartidas(QSqlQuery& det, const QString& folio, const std::vector<Linea>& lineas)
    {
        int partida = 0;
        for (const auto& l : lineas)
            Ejecutar(
                det,
                {folio, ++partida, l.articulo, l.descripcion, l.unidad, l.cantidad, Monto(l.precio), Monto(l.importe)});
    }

    static QString HtmlLineas(const std::vector<Linea>& lineas)
    {
        QStringList filas;
        int n = 0;
        for (const auto& l : lineas) {
            filas << QStringLiteral("<tr>") + Celda(QString::number(++n), true) + Celda(l.articulo, false)
                    + Celda(l.descripcion, false) + Celda(QString::number(l.cantidad), true) + Celda(l.unidad, false)
                    + Celda(QStringLiteral("$ ") + Pesos(l.precio), true)
                    + Celda(QStringLiteral("$ ") + Pesos(l.importe), true) + QStringLiteral("</tr>");
        }
        return filas.join(QLatin1Char('\n'));
    }

    // Oldest documents were already reviewed; about one in four of them was
    // rejected. Returns 'PE', 'AU' or 'RE'.
    QString EstadoDe(int indice, int revisados)
    {
        if (indice >= revisados)
            return QStringLiteral("PE");
        return Probable(25) ? QStringLiteral("RE") : QStringLiteral("AU");
    }

    struct Comentario
    {
        QString tabla, folio, texto, operador, fecha;
    };

    // Reviewed documents get the review columns; rejections and commented
    // authorizations also leave a comment, as the shell records them.
    struct Revision
    {
        QVariant operAutoriza, fechaAutoriza, operRechaza, fechaRechaza, comentario;
    };

    Revision Revisar(const QString& estado, const QDate& fecha, const QString& tabla, const QString& folio,
                     const QString& autoriza, const QStringList& motivosRechazo)
    {
        Revision r{Nulo(), Nulo(), Nulo(), Nulo(), Nulo()};
        if (estado == QLatin1String("PE"))
            return r;
        const QString cuando = TextoFechaHora(MomentoRevision(fecha));
        if (estado == QLatin1String("AU")) {
            const QString texto = Elegir(m_cat.comentariosAutorizacion);
            r.operAutoriza = autoriza;
            r.fechaAutoriza = cuando;
            r.comentario = texto;
            if (!texto.isEmpty())
                m_comentarios.push_back({tabla, folio, texto, autoriza, cuando});
        } else {
            const QString texto = Elegir(motivosRechazo);
            r.operRechaza = autoriza;
            r.fechaRechaza = cuando;
            m_comentarios.push_back({tabla, folio, texto, autoriza, cuando});
        }
        return r;
    }

    const Departamento& DepartamentoDe(const Empleado& e) const
    {
        for (const auto& d : m_cat.departamentos)
            if (d.clave == e.departamento)
                return d;
        throw std::logic_error("departamento desconocido");
    }

    static QString CuentaPresupuestal(const Departamento& d)
    {
        return QStringLiteral("PRE-2025-") + d.centroCosto.mid(3);
    }
    static QString CuentaGastos(const Departamento& d) { return QStringLiteral("601.48-") + d.centroCosto.mid(3); }

    // ------------------------------------------------------------ tables

    void Parametros()
    {
        auto q = Preparar(m_cat.Insercion(QStringLiteral("Parametros_Generales")));
        for (const QStringList& f : Tabla(QStringLiteral("parametros.tsv")))
            Ejecutar(q, {f[0], f[1].toInt(), f[2], f[3], f[4]});
    }

    void Operadores()
    {
        auto q = Preparar(m_cat.Insercion(QStringLiteral("Operadores")));
        for (const QStringList& f : Tabla(QStringLiteral("operadores.tsv")))
            Ejecutar(q, {f[0], f[1], f[2].toInt()});
    }

    void Catalogos()
    {
        auto dep = Preparar(m_cat.Insercion(QStringLiteral("Departamentos")));
        for (const auto& d : m_cat.departamentos)
            Ejecutar(dep, {d.clave, d.nombre, d.centroCosto, CuentaPresupuestal(d), CuentaGastos(d)});

        auto emp = Preparar(m_cat.Insercion(QStringLiteral("Empleados")));
        for (const auto& e : m_cat.empleados)
            Ejecutar(emp,
                     {e.clave, e.nombre, e.puesto, e.departamento, e.ingreso,
                      e.operador.isEmpty() ? Nulo() : QVariant(e.operador)});

        auto prv = Preparar(m_cat.Insercion(QStringLiteral("Proveedores")));
        for (const auto& p : m_cat.proveedores)
            Ejecutar(prv, {p.clave, p.rfc, p.razon, p.domicilio, p.diasCredito});
    }

    void Requisiciones()
    {
        constexpr int kTotal = 150, kRevisadas = 30, kPrimerFolio = 301;
        auto cab = Preparar(m_cat.Insercion(QStringLiteral("Requisiciones_Compra")));
        auto det = Preparar(m_cat.Insercion(QStringLiteral("Requisiciones_Compra_Detalle")));

        const auto fechas = Fechas(kTotal, 120);
        for (int i = 0; i < kTotal; ++i) {
            const QString folio = QStringLiteral("REQ-2025-%1").arg(kPrimerFolio + i, 4, 10, QLatin1Char('0'));
            const Empleado& e = Elegir(m_cat.empleados);
            const Departamento& d = DepartamentoDe(e);
            const int p = Entre(1, 10);
            const QString prioridad = p <= 7 ? QStringLiteral("Normal")
                : p <= 9                     ? QStringLiteral("Alta")
                                             : QStringLiteral("Urgente");
            const QDate requerida = fechas[std::size_t(i)].addDays(p == 10 ? Entre(2, 5) : Entre(7, 30));
            const auto lineas = Lineas(d.categorias, true);
            const Centavos subtotal = Subtotal(lineas);
            const Centavos iva = Iva(subtotal), total = subtotal + iva;

            const QString estado = EstadoDe(i, kRevisadas);
            const QString revisor = total > 5000000 ? QStringLiteral("DFINANZAS") : QStringLiteral("GCOMPRAS");
            const Revision r = Revisar(estado, fechas[std::size_t(i)], QStringLiteral("REQUISICIONES_COMPRA"), folio,
                                       revisor, m_cat.rechazosRequisicion);
            QVariant autorizado = Nulo(), cuenta = Nulo();
            if (estado == QLatin1String("AU")) {
                // Now and then the reviewer trims the amount to a round figure.
                const Centavos recortado = total * 9 / 10 / 10000 * 10000;
                autorizado = Monto(Probable(80) || recortado == 0 ? total : recortado);
                cuenta = CuentaPresupuestal(d);
            }
            Ejecutar(cab,
                     {folio, TextoFecha(fechas[std::size_t(i)]), TextoFecha(requerida), e.clave, d.clave, prioridad,
                      Elegir(m_cat.justificaciones), Monto(subtotal), Monto(iva), Monto(total), HtmlLineas(lineas),
                      estado, autorizado, cuenta, r.comentario, r.operAutoriza, r.fechaAutoriza, r.operRechaza,
                      r.fechaRechaza});
            InsertarPartidas(det, folio, lineas);
        }
    }

    void Ordenes()
    {
        constexpr int kTotal = 100, kRevisadas = 20, kPrimerFolio = 201;
        auto cab = Preparar(m_cat.Insercion(QStringLiteral("Ordenes_Compra")));
        auto det = Preparar(m_cat.Insercion(QStringLiteral("Ordenes_Compra_Detalle")));

        const auto fechas = Fechas(kTotal, 90);
        for (int i = 0; i < kTotal; ++i) {
            const QString folio = QStringLiteral("OC-2025-%1").arg(kPrimerFolio + i, 4, 10, QLatin1Char('0'));
            const Proveedor& p = Elegir(m_cat.proveedores);
            const Departamento& d = Elegir(m_cat.departamentos);
            const Empleado& comprador = *Elegir(m_cat.compradores);
            const QString condiciones = p.diasCredito == 0 ? QStringLiteral("Contado")
                                                           : QStringLiteral("Crédito a %1 días").arg(p.diasCredito);
            const auto lineas = Lineas(p.categorias, false);
            const Centavos subtotal = Subtotal(lineas);
            const Centavos iva = Iva(subtotal), total = subtotal + iva;

            const QString estado = EstadoDe(i, kRevisadas);
            const Revision r = Revisar(estado, fechas[std::size_t(i)], QStringLiteral("ORDENES_COMPRA"), folio,
                                       total > 10000000 ? QStringLiteral("DFINANZAS") : QStringLiteral("GCOMPRAS"),
                                       m_cat.rechazosOrden);
            const QVariant partida = estado == QLatin1String("AU") ? QVariant(CuentaPresupuestal(d)) : Nulo();
            Ejecutar(cab,
                     {folio,
                      TextoFecha(fechas[std::size_t(i)]),
                      p.clave,
                      d.clave,
                      comprador.clave,
                      condiciones,
                      TextoFecha(fechas[std::size_t(i)].addDays(Entre(5, 21))),
                      Elegir(m_cat.lugaresEntrega),
                      "MXN",
                      Monto(subtotal),
                      Monto(iva),
                      Monto(total),
                      HtmlLineas(lineas),
                      estado,
                      partida,
                      r.comentario,
                      r.operAutoriza,
                      r.fechaAutoriza,
                      r.operRechaza,
                      r.fechaRechaza});
            InsertarPartidas(det, folio, lineas);
        }
    }

    void ReportesGastos()
    {
        constexpr int kTotal = 75, kRevisados = 15, kPrimerFolio = 151;
        auto cab = Preparar(m_cat.Insercion(QStringLiteral("Reportes_Gastos")));
        auto det = Preparar(m_cat.Insercion(QStringLiteral("Reportes_Gastos_Detalle")));

        const auto fechas = Fechas(kTotal, 100);
        for (int i = 0; i < kTotal; ++i) {
            const QString folio = QStringLiteral("GAS-2025-%1").arg(kPrimerFolio + i, 4, 10, QLatin1Char('0'));
            const QDate fecha = fechas[std::size_t(i)];
            const Empleado& e = *Elegir(m_cat.viajeros);
            const Departamento& d = DepartamentoDe(e);
            const QDate fin = fecha.addDays(-Entre(1, 4));
            const QDate inicio = fin.addDays(-Entre(0, 4));

            struct Gasto
            {
                QDate fecha;
                QString concepto, proveedor, comprobante;
                Centavos subtotal, iva, importe;
            };
            std::vector<Gasto> gastos;
            const int n = Entre(1, 8);
            for (int k = 0; k < n; ++k) {
                const ConceptoGasto& c = Elegir(m_cat.conceptosGasto);
                const Centavos pesos = Entre(0, int((c.maximo - c.minimo) / 100));
                const Centavos importe = c.minimo + pesos * 100 + Entre(0, 99);
                const Centavos subtotal = c.conIva ? (importe * 100 + 58) / 116 : importe;
                const QString comprobante = c.conIva
                    ? QStringLiteral("CFDI %1-%2").arg(QChar(u'A' + Entre(0, 5))).arg(Entre(1000, 98999))
                    : QStringLiteral("Sin comprobante");
                gastos.push_back({inicio.addDays(Entre(0, int(inicio.daysTo(fin)))), c.concepto, Elegir(c.proveedores),
                                  comprobante, subtotal, importe - subtotal, importe});
            }
            std::stable_sort(gastos.begin(), gastos.end(),
                             [](const Gasto& a, const Gasto& b) { return a.fecha < b.fecha; });

            Centavos subtotal = 0, iva = 0;
            QStringList filas;
            int partida = 0;
            for (const auto& g : gastos) {
                subtotal += g.subtotal;
                iva += g.iva;
                filas << QStringLiteral("<tr>") + Celda(QString::number(++partida), true)
                        + Celda(g.fecha.toString(QStringLiteral("dd/MM/yyyy")), false) + Celda(g.concepto, false)
                        + Celda(g.proveedor, false) + Celda(g.comprobante, false)
                        + Celda(QStringLiteral("$ ") + Pesos(g.subtotal), true)
                        + Celda(QStringLiteral("$ ") + Pesos(g.iva), true)
                        + Celda(QStringLiteral("$ ") + Pesos(g.importe), true) + QStringLiteral("</tr>");
            }
            const Centavos total = subtotal + iva;
            // Half of the trips had an advance, in round amounts; a large one
            // leaves a balance in favour of the company.
            const Centavos anticipo = Probable(50) ? 0 : total * Entre(50, 110) / 100 / 50000 * 50000;
            const Centavos saldo = total - anticipo;

            const QString estado = EstadoDe(i, kRevisados);
            const Revision r = Revisar(estado, fecha, QStringLiteral("REPORTES_GASTOS"), folio,
                                       QStringLiteral("DFINANZAS"), m_cat.rechazosGastos);
            const bool autorizado = estado == QLatin1String("AU");
            Ejecutar(cab,
                     {folio,
                      TextoFecha(fecha),
                      e.clave,
                      d.clave,
                      Elegir(m_cat.motivos),
                      Elegir(m_cat.destinos),
                      TextoFecha(inicio),
                      TextoFecha(fin),
                      Monto(subtotal),
                      Monto(iva),
                      Monto(total),
                      Monto(anticipo),
                      Monto(saldo),
                      filas.join(QLatin1Char('\n')),
                      estado,
                      autorizado ? Monto(saldo) : Nulo(),
                      autorizado ? QVariant(CuentaGastos(d)) : Nulo(),
                      r.comentario,
                      r.operAutoriza,
                      r.fechaAutoriza,
                      r.operRechaza,
                      r.fechaRechaza});
            partida = 0;
            for (const auto& g : gastos)
                Ejecutar(det,
                         {folio, ++partida, TextoFecha(g.fecha), g.concepto, g.proveedor, g.comprobante,
                          Monto(g.subtotal), Monto(g.iva), Monto(g.importe)});
        }
    }

    // Days of paid vacation by completed years of service (federal labour
    // law since 2023).
    static int DiasPorLey(int anios)
    {
        if (anios <= 5)
            return 10 + 2 * std::max(1, anios);
        return 22 + 2 * ((anios - 6) / 5);
    }

    void Vacaciones()
    {
        constexpr int kTotal = 40, kRevisadas = 15, kPrimerFolio = 81;
        auto q = Preparar(m_cat.Insercion(QStringLiteral("Solicitudes_Vacaciones")));
        const auto fechas = Fechas(kTotal, 100);
        for (int i = 0; i < kTotal; ++i) {
            const QString folio = QStringLiteral("VAC-2025-%1").arg(kPrimerFolio + i, 4, 10, QLatin1Char('0'));
            const QDate fecha = fechas[std::size_t(i)];
            const Empleado& e = Elegir(m_cat.empleados);
            const QDate ingreso = QDate::fromString(e.ingreso, Qt::ISODate);
            int anios = fecha.year() - ingreso.year();
            if (QDate(fecha.year(), ingreso.month(), ingreso.day()) > fecha)
                --anios;
            const int ley = DiasPorLey(anios);
            const int disponibles = ley - Entre(0, ley / 2);
            const int dias = Entre(1, std::min(disponibles, 10));
            QDate inicio = fecha.addDays(Entre(10, 45));
            while (inicio.dayOfWeek() > 5)
                inicio = inicio.addDays(1);
            QDate fin = inicio;
            for (int habiles = 1; habiles < dias;) {
                fin = fin.addDays(1);
                if (fin.dayOfWeek() <= 5)
                    ++habiles;
            }
            const QString periodo = QStringLiteral("%1-%2").arg(fecha.year() - 1).arg(fecha.year());
            const QString estado = EstadoDe(i, kRevisadas);
            const Revision r = Revisar(estado, fecha, QStringLiteral("SOLICITUDES_VACACIONES"), folio,
                                       QStringLiteral("RHUMANOS"), m_cat.rechazosVacaciones);
            Ejecutar(q,
                     {folio, TextoFecha(fecha), e.clave, e.departamento, periodo, TextoFecha(inicio), TextoFecha(fin),
                      dias, disponibles, Elegir(m_cat.observacionesVacaciones), estado,
                      estado == QLatin1String("AU") ? QVariant(dias) : QVariant(QMetaType::fromType<int>()),
                      r.comentario, r.operAutoriza, r.fechaAutoriza, r.operRechaza, r.fechaRechaza});
        }
    }

    void Comentarios()
    {
        auto q = Preparar(m_cat.Insercion(QStringLiteral("Comentarios_Documento")));
        for (const auto& c : m_comentarios)
            Ejecutar(q, {c.tabla, c.folio, c.texto, c.operador, c.fecha});
    }

    // Each configuration's statements and templates are files of its own
    // folder. The stored SQL must run unchanged on SQLite and on SQL Server
    // and holds no double quote (the editor writes it as a double-quoted
    // literal); the templates hold no apostrophe (a single-quoted literal).
    // Proposed values of input fields leave the template query as text, so
    // that the page shows them without the regional grouping that the
    // statement could not parse; amounts typed with thousands separators are
    // accepted too. An emptied payment-terms field keeps the buyer's terms,
    // an emptied days field grants the days requested.
    void ConfiguracionesAutorizacion()
    {
        auto q = Preparar(m_cat.Insercion(QStringLiteral("Configuracion_Autorizacion")));
        for (const QStringList& c : Tabla(QStringLiteral("configuraciones.tsv"))) {
            const auto archivo = [&c](const char* nombre) {
                return Recurso(QStringLiteral("configuraciones/%1/%2").arg(c[0], QLatin1String(nombre)));
            };
            const QString& fechaBaja = c[12];
            const bool baja = !fechaBaja.isEmpty();
            // An active row looks as a reactivated one does: no delete operator, no delete date.
            Ejecutar(q,
                     {c[0], c[1], c[2], c[3], c[4], c[5],
                      FormatoDemo::ConsultaEnDialecto(archivo("listado.sql"), m_dialecto), archivo("autorizacion.sql"),
                      c[6], FormatoDemo::ConsultaEnDialecto(archivo("plantilla.sql"), m_dialecto),
                      archivo("plantilla.html"), archivo("rechazo.sql"), c[7], c[9], c[8], c[10],
                      baja ? c[10] : QStringLiteral(""), baja ? QVariant(fechaBaja) : Nulo(), c[11]});
        }
    }

    void FormatosImpresion()
    {
        auto q = Preparar(m_cat.Insercion(QStringLiteral("Formatos_Impresion")));
        for (const QStringList& f : Tabla(QStringLiteral("formatos.tsv")))
            Ejecutar(q,
                     {f[0], f[1],
                      FormatoDemo::ConsultaEnDialecto(Recurso(QStringLiteral("formatos/%1/consulta.sql").arg(f[0])),
                                                      m_dialecto),
                      Recurso(QStringLiteral("formatos/%1/plantilla.html").arg(f[0]))});
    }

    const CatalogoDemo m_cat;
    QSqlDatabase& m_db;
    const EsquemaBaseDatos::Dialecto m_dialecto;
    QRandomGenerator m_rng;
    std::vector<Comentario> m_comentarios;
};

} // namespace

QDate DatosDemo::FechaBase()
{
    return QDate(2025, 6, 30);
}

bool DatosDemo::Existe(QSqlDatabase& db)
{
    QSqlQuery q(db);
    return q.exec(QStringLiteral("SELECT COUNT(*) FROM Configuracion_Autorizacion")) && q.next()
        && q.value(0).toLongLong() > 0;
}

void DatosDemo::Cargar(QSqlDatabase& db)
{
    EsquemaBaseDatos::Crear(db);
    const EsquemaBaseDatos::Dialecto dialecto = EsquemaBaseDatos::DialectoDe(db);
    if (!db.transaction())
        throw std::runtime_error(("No se pudo iniciar la transacción: " + db.lastError().text()).toStdString());
    try {
        Cargador(db, dialecto).Todo();
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit()) {
        const QString error = db.lastError().text();
        db.rollback();
        throw std::runtime_error(error.toStdString());
    }
}

} // namespace orvinda
