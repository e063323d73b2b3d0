#include "editor/frmBuscarConfiguracion.h"

#include "host/controles/AjusteVentana.h"
#include "host/controles/ListView.h"
#include "host/datos/Conexion.h"
#include "host/servicios/Sistema.h"
#include "publico/Publico.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace rm640 {

frmBuscarConfiguracion::frmBuscarConfiguracion(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmBuscarConfiguracion"));
    setWindowTitle(QStringLiteral("Configuraciones de autorización"));
    resize(680, 420);

    m_filtro = new QLineEdit(this);
    m_filtro->setObjectName(QStringLiteral("txtFiltro"));
    m_filtro->setPlaceholderText(QStringLiteral("Clave, descripción, pestaña o estado"));
    m_filtro->setClearButtonEnabled(true);
    auto* etiqueta = new QLabel(QStringLiteral("&Buscar:"), this);
    etiqueta->setBuddy(m_filtro);
    m_filtro->setAccessibleName(QStringLiteral("Buscar configuración"));

    m_lista = new orvinda::ListView(this);
    m_lista->setObjectName(QStringLiteral("lstConfiguraciones"));
    m_lista->setAccessibleName(QStringLiteral("Configuraciones"));
    const QStringList columnas
        = {QStringLiteral("Clave"), QStringLiteral("Descripción"), QStringLiteral("Pestaña"), QStringLiteral("Estado")};
    const int anchos[] = {1200, 4500, 3000, 1500};
    for (int c = 0; c < columnas.size(); ++c)
        m_lista->ColumnHeadersAdd(columnas[c], anchos[c]);

    m_abrir = new QPushButton(QStringLiteral("&Abrir"), this);
    m_abrir->setObjectName(QStringLiteral("cmdAbrir"));
    m_abrir->setDefault(true);
    auto* cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    cancelar->setObjectName(QStringLiteral("cmdCancelar"));

    auto* fila = new QHBoxLayout;
    fila->addWidget(etiqueta);
    fila->addWidget(m_filtro, 1);
    auto* botones = new QHBoxLayout;
    botones->addStretch(1);
    botones->addWidget(m_abrir);
    botones->addWidget(cancelar);
    auto* todo = new QVBoxLayout(this);
    todo->addLayout(fila);
    todo->addWidget(m_lista, 1);
    todo->addLayout(botones);

    connect(m_filtro, &QLineEdit::textChanged, this, [this](const QString& texto) { m_lista->setFiltro(texto); });
    // Enter in the box goes to the list, where the next Enter chooses.
    connect(m_filtro, &QLineEdit::returnPressed, m_lista, [this] { m_lista->setFocus(); });
    connect(m_lista, &orvinda::ListView::Aceptar, this, &frmBuscarConfiguracion::ElegirSeleccionada);
    connect(m_lista, &orvinda::ListView::DblClick, this, &frmBuscarConfiguracion::ElegirSeleccionada);
    connect(m_abrir, &QPushButton::clicked, this, &frmBuscarConfiguracion::ElegirSeleccionada);
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);
    setTabOrder(m_filtro, m_lista);
    setTabOrder(m_lista, m_abrir);
    setTabOrder(m_abrir, cancelar);
}

QString frmBuscarConfiguracion::TextoEstado(const QVariant& estado)
{
    // A row without a state counts as deleted, as the editor treats it.
    if (estado.isNull() || estado.toString() == QLatin1String("BA"))
        return QStringLiteral("Eliminada");
    return QStringLiteral("Activa");
}

void frmBuscarConfiguracion::Cargar()
{
    orvinda::Recordset rs = Publico::Sistema->ObtenerConexion().Execute(
        QStringLiteral("SELECT Ca_Cve_Configuracion_Autorizacion, Ca_Descripcion, Ca_Etiqueta, Es_Cve_Estado "
                       "FROM Configuracion_Autorizacion ORDER BY Ca_Cve_Configuracion_Autorizacion"));
    m_lista->ListItemsClear();
    const auto texto = [](const orvinda::Campo& c) { return c.EsNulo() ? QString() : c.Texto(); };
    while (!rs.Eof()) {
        m_lista->ListItemsAdd(texto(rs.Fields(0)),
                              {texto(rs.Fields(1)), texto(rs.Fields(2)), TextoEstado(rs.Fields(3).Value())});
        rs.MoveNext();
    }
    rs.Close();
    m_lista->SeleccionInicial();
}

bool frmBuscarConfiguracion::Elegir(const QString& clave)
{
    if (!m_lista->SeleccionarTexto(clave))
        return false;
    ElegirSeleccionada();
    return true;
}

void frmBuscarConfiguracion::ElegirSeleccionada()
{
    const QString clave = m_lista->SelectedItem();
    if (clave.isEmpty())
        return;
    m_elegida = clave;
    accept();
}

void frmBuscarConfiguracion::showEvent(QShowEvent* evento)
{
    QDialog::showEvent(evento);
    if (!evento->spontaneous()) {
        orvinda::AjusteVentana::CaberEnPantalla(*this);
        m_filtro->setFocus();
    }
}

} // namespace rm640
