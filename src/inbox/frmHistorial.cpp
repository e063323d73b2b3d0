#include "inbox/frmHistorial.h"

#include "host/controles/ListView.h"
#include "host/controles/ModeloLista.h"
#include "host/datos/Conexion.h"
#include "host/servicios/Sistema.h"
#include "host/servicios/Utilerias.h"
#include "inbox/ExportacionCsv.h"
#include "marcadores/MarcadoresSql.h"
#include "publico/Publico.h"
#include "publico/Trampa.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace rm640 {

namespace {

const QString Titulo = QStringLiteral("Historial de decisiones");

// The page's values, one per line, in the order they were read.
QString Valores(const QString& json)
{
    QStringList lineas;
    for (const QJsonValue& v : QJsonDocument::fromJson(json.toUtf8()).array()) {
        const QJsonObject o = v.toObject();
        const QJsonValue valor = o.value(QStringLiteral("valor"));
        lineas << QStringLiteral("  %1: %2")
                      .arg(o.value(QStringLiteral("campo")).toString(),
                           valor.isNull() ? QStringLiteral("(no se pudo leer)") : valor.toString());
    }
    return lineas.isEmpty() ? QStringLiteral("  (ninguno)") : lineas.join(u'\n');
}

QString Texto(const orvinda::Recordset& rs, const QString& columna)
{
    const orvinda::Campo c = rs.Fields(columna);
    return c.EsNulo() ? QString() : c.Value().toString();
}

} // namespace

frmHistorial::frmHistorial(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmHistorial"));
    setWindowTitle(Titulo);
    setModal(false);
    resize(980, 640);

    m_operador = Publico::Sistema->ObtenerOperador();
    const bool amplio = Publico::Sistema->NivelSistema() >= NivelParaTodos;
    const QDate hoy = Publico::Utilerias->FechaServidor().date();

    m_todos = new QCheckBox(QStringLiteral("&Todos los operadores"), this);
    m_todos->setObjectName(QStringLiteral("chkTodos"));
    m_desde = new QDateEdit(hoy.addDays(-DiasPorOmision), this);
    m_desde->setObjectName(QStringLiteral("dtDesde"));
    m_hasta = new QDateEdit(hoy, this);
    m_hasta->setObjectName(QStringLiteral("dtHasta"));
    for (QDateEdit* fecha : {m_desde, m_hasta}) {
        fecha->setCalendarPopup(true);
        fecha->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        fecha->setEnabled(amplio);
        if (!amplio)
            fecha->setToolTip(QStringLiteral("Los últimos %1 días: solo los operadores de nivel %2 o más eligen "
                                             "el periodo")
                                  .arg(DiasPorOmision)
                                  .arg(NivelParaTodos));
        connect(fecha, &QDateEdit::dateChanged, this, &frmHistorial::Consultar);
    }
    m_todos->setEnabled(amplio);
    m_todos->setToolTip(
        amplio
            ? QStringLiteral("Muestra las decisiones de todos los operadores")
            : QStringLiteral("Solo los operadores de nivel %1 o más ven las decisiones de otros").arg(NivelParaTodos));
    connect(m_todos, &QCheckBox::toggled, this, &frmHistorial::Consultar);

    m_filtro = new QLineEdit(this);
    m_filtro->setObjectName(QStringLiteral("txtFiltro"));
    m_filtro->setPlaceholderText(QStringLiteral("Buscar (Ctrl+F)"));
    m_filtro->setClearButtonEnabled(true);
    m_cuenta = new QLabel(this);
    m_cuenta->setObjectName(QStringLiteral("lblCuenta"));

    m_lista = new orvinda::ListView(this);
    m_lista->setObjectName(QStringLiteral("lvDecisiones"));
    m_detalle = new QPlainTextEdit(this);
    m_detalle->setObjectName(QStringLiteral("txtDetalle"));
    m_detalle->setReadOnly(true);
    m_detalle->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* division = new QSplitter(Qt::Vertical, this);
    division->addWidget(m_lista);
    division->addWidget(m_detalle);
    division->setStretchFactor(0, 3);
    division->setStretchFactor(1, 2);

    m_exportar = new QPushButton(QStringLiteral("&Exportar..."), this);
    m_exportar->setObjectName(QStringLiteral("cmdExportar"));
    m_exportar->setToolTip(QStringLiteral("Guarda las filas mostradas en un archivo CSV"));
    auto* cerrar = new QPushButton(QStringLiteral("&Cerrar"), this);
    connect(m_exportar, &QPushButton::clicked, this, &frmHistorial::cmdExportar_Click);
    connect(cerrar, &QPushButton::clicked, this, &QDialog::close);

    auto* opciones = new QHBoxLayout;
    opciones->addWidget(m_todos);
    opciones->addWidget(new QLabel(QStringLiteral("Desde"), this));
    opciones->addWidget(m_desde);
    opciones->addWidget(new QLabel(QStringLiteral("Hasta"), this));
    opciones->addWidget(m_hasta);
    opciones->addStretch();
    opciones->addWidget(m_filtro, 1);
    opciones->addWidget(m_cuenta);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(m_exportar);
    botones->addWidget(cerrar);
    auto* forma = new QVBoxLayout(this);
    forma->addLayout(opciones);
    forma->addWidget(division, 1);
    forma->addLayout(botones);

    connect(m_filtro, &QLineEdit::textChanged, this, [this](const QString& texto) {
        m_lista->setFiltro(texto);
        ActualizarCuenta();
    });
    auto* buscar = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this, [this] {
        m_filtro->setFocus(Qt::ShortcutFocusReason);
        m_filtro->selectAll();
    });
    buscar->setContext(Qt::WindowShortcut);
    connect(m_lista, &orvinda::ListView::LlenadoTerminado, this, [this](const QString& error, bool) {
        if (!error.isEmpty())
            Trampa::Intentar(
                [&] { Reportar(error, orvinda::Sistema::EstiloError, Titulo, QStringLiteral("ERR-ID:7500081")); });
        m_lista->SeleccionInicial();
        ActualizarCuenta();
    });
    connect(m_lista->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &frmHistorial::MostrarDetalle);
}

frmHistorial::~frmHistorial() = default;

void frmHistorial::Reportar(const QString& mensaje, int estilo, const QString& titulo, const QString& id)
{
    Trampa::Mostrar(this, mensaje, estilo, titulo, id);
}

QString frmHistorial::Consulta() const
{
    const bool sqlServer
        = Publico::Sistema->ObtenerConexion().ObtenerDialecto() == orvinda::Conexion::Dialecto::SqlServer;
    const auto texto = [sqlServer](const QString& t) {
        return (sqlServer ? QStringLiteral("N'") : QStringLiteral("'"))
            + MarcadoresSql::Clave(t, MarcadoresSql::Modo::Citar) + u'\'';
    };
    QString s = QStringLiteral("SELECT d.Bd_Id AS \"Id\", REPLACE(%1(d.Bd_Fecha, 1, 19), 'T', ' ') AS \"Fecha\",")
                    .arg(sqlServer ? QStringLiteral("SUBSTRING") : QStringLiteral("SUBSTR"));
    s += QStringLiteral(" d.Bd_Operador AS \"Operador\",");
    s += QStringLiteral(" CASE d.Bd_Decision WHEN 'AU' THEN %1 ELSE %2 END AS \"Decisión\",")
             .arg(texto(QStringLiteral("Autorizada")), texto(QStringLiteral("Rechazada")));
    s += QStringLiteral(" d.Bd_Clave AS \"Configuración\", d.Bd_Folio AS \"Folio\",");
    s += QStringLiteral(" CASE d.Bd_Origen WHEN 'LOTE' THEN %1 ELSE %2 END AS \"Origen\",")
             .arg(texto(QStringLiteral("En lote")), texto(QStringLiteral("Diálogo")));
    s += QStringLiteral(" d.Bd_Comentario AS \"Comentario\",");
    s += QStringLiteral(" (SELECT MAX(i.Bd_Resultado) FROM Bitacora_Decisiones i WHERE i.Bd_Referencia = d.Bd_Id) AS "
                        "\"Impresión\"");
    s += QStringLiteral(" FROM Bitacora_Decisiones d WHERE d.Bd_Decision IN ('AU', 'RE')");
    if (!m_todos->isChecked())
        s += QStringLiteral(" AND d.Bd_Operador = %1").arg(texto(m_operador));
    // The date is ISO text: its order is the time's.
    s += QStringLiteral(" AND d.Bd_Fecha >= '%1' AND d.Bd_Fecha < '%2'")
             .arg(m_desde->date().toString(Qt::ISODate), m_hasta->date().addDays(1).toString(Qt::ISODate));
    s += QStringLiteral(" ORDER BY d.Bd_Id DESC");
    return s;
}

void frmHistorial::Consultar()
{
    Trampa::Atrapar(*this, Titulo, QStringLiteral("ERR-ID:7500081"), [this] {
        m_detalle->clear();
        bool bandera = true;
        Publico::Utilerias->LlenarLista(Consulta(), *m_lista, bandera);
    });
}

void frmHistorial::ActualizarCuenta()
{
    const orvinda::ModeloLista& modelo = m_lista->Modelo();
    const QLocale regional;
    const QString decisiones = modelo.Total() == 1 ? QStringLiteral("decisión") : QStringLiteral("decisiones");
    m_cuenta->setText(
        m_lista->Filtro().trimmed().isEmpty()
            ? QStringLiteral("%1 %2").arg(regional.toString(modelo.Total()), decisiones)
            : QStringLiteral("%1 de %2 %3")
                  .arg(regional.toString(modelo.Mostradas()), regional.toString(modelo.Total()), decisiones));
}

void frmHistorial::keyPressEvent(QKeyEvent* evento)
{
    // As in the inbox: Escape clears the filter first, and closes only then.
    if (evento->key() == Qt::Key_Escape && evento->modifiers() == Qt::NoModifier && !m_filtro->text().isEmpty()) {
        m_filtro->clear();
        evento->accept();
        return;
    }
    QDialog::keyPressEvent(evento);
}

QString frmHistorial::Detalle(qint64 id)
{
    orvinda::Conexion& conexion = Publico::Sistema->ObtenerConexion();
    orvinda::Recordset d = conexion.Execute(
        QStringLiteral("SELECT Bd_Fecha, Bd_Operador, Bd_Cuenta, Bd_Maquina, Bd_Clave, Bd_Tabla, Bd_Folio, Bd_Decision,"
                       " Bd_Valores, Bd_Sentencia, Bd_Filas, Bd_Comentario, Bd_Origen FROM Bitacora_Decisiones"
                       " WHERE Bd_Id = ?"),
        {id});
    if (d.Eof())
        return QString();
    QStringList t;
    t << QStringLiteral("%1 el %2 por %3 (cuenta %4, equipo %5, %6)")
             .arg(Texto(d, QStringLiteral("Bd_Decision")) == QLatin1String("AU") ? QStringLiteral("Autorizada")
                                                                                 : QStringLiteral("Rechazada"),
                  Texto(d, QStringLiteral("Bd_Fecha")).replace(u'T', u' '), Texto(d, QStringLiteral("Bd_Operador")),
                  Texto(d, QStringLiteral("Bd_Cuenta")), Texto(d, QStringLiteral("Bd_Maquina")),
                  Texto(d, QStringLiteral("Bd_Origen")) == QLatin1String("LOTE") ? QStringLiteral("en lote")
                                                                                 : QStringLiteral("en el diálogo"));
    t << QStringLiteral("Configuración %1, tabla %2, folio %3")
             .arg(Texto(d, QStringLiteral("Bd_Clave")), Texto(d, QStringLiteral("Bd_Tabla")),
                  Texto(d, QStringLiteral("Bd_Folio")));
    t << QString() << QStringLiteral("Valores de la página:") << Valores(Texto(d, QStringLiteral("Bd_Valores")));
    const QString filas = Texto(d, QStringLiteral("Bd_Filas"));
    t << QString()
      << (filas == QLatin1String("1") ? QStringLiteral("Sentencia (1 fila):")
                                      : QStringLiteral("Sentencia (%1 filas):").arg(filas))
      << Texto(d, QStringLiteral("Bd_Sentencia"));
    t << QString() << QStringLiteral("Comentario:") << Texto(d, QStringLiteral("Bd_Comentario"));
    t << QString() << QStringLiteral("Impresión:");
    orvinda::Recordset im
        = conexion.Execute(QStringLiteral("SELECT Bd_Fecha, Bd_Valores, Bd_Resultado FROM Bitacora_Decisiones WHERE "
                                          "Bd_Referencia = ? ORDER BY Bd_Id"),
                           {id});
    if (im.Eof())
        t << (Texto(d, QStringLiteral("Bd_Decision")) == QLatin1String("AU") ? QStringLiteral("  (sin anotar)")
                                                                             : QStringLiteral("  (no aplica)"));
    for (; !im.Eof(); im.MoveNext()) {
        const bool error = QJsonDocument::fromJson(Texto(im, QStringLiteral("Bd_Valores")).toUtf8())
                               .object()
                               .contains(QStringLiteral("error"));
        t << QStringLiteral("  %1 %2: %3")
                 .arg(Texto(im, QStringLiteral("Bd_Fecha")).replace(u'T', u' '),
                      error ? QStringLiteral("falló") : QStringLiteral("archivo"),
                      Texto(im, QStringLiteral("Bd_Resultado")));
    }
    return t.join(u'\n');
}

void frmHistorial::MostrarDetalle()
{
    m_detalle->clear();
    const QString id = m_lista->SelectedItem();
    if (id.isEmpty())
        return;
    Trampa::Atrapar(*this, Titulo, QStringLiteral("ERR-ID:7500081"),
                    [&] { m_detalle->setPlainText(Detalle(id.toLongLong())); });
}

void frmHistorial::Exportar(const QString& ruta) const
{
    ExportacionCsv::Guardar(ruta, ExportacionCsv::DeLista(*m_lista));
}

void frmHistorial::cmdExportar_Click()
{
    Trampa::Atrapar(*this, Titulo, QStringLiteral("ERR-ID:7500082"), [this] {
        const QString ruta
            = QFileDialog::getSaveFileName(this, QStringLiteral("Exportar el historial"),
                                           QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                                               .filePath(QStringLiteral("historial.csv")),
                                           QStringLiteral("CSV (*.csv)"));
        if (!ruta.isEmpty())
            Exportar(ruta);
    });
}

} // namespace rm640
