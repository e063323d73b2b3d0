#include "servicios/ConsultaRegistroOrvinda.h"

#include "host/datos/Conexion.h"
#include "host/servicios/Sistema.h"
#include "servicios/Mensajero.h"
#include "servicios/TextoSql.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orvinda {

ConsultaRegistroOrvinda::ConsultaRegistroOrvinda(Conexion& conexion, Mensajero& mensajero)
    : m_conexion(conexion)
    , m_mensajero(mensajero)
{
}

void ConsultaRegistroOrvinda::MostrarRegistro(const QString& tabla, const QString& columnaClave,
                                              const QString& valorClave, const QString&, const QString&, const QString&,
                                              const QString&)
{
    Recordset rs = m_conexion.Execute(
        QStringLiteral("SELECT * FROM %1 WHERE %2 = %3")
            .arg(TextoSql::Identificador(tabla), TextoSql::Identificador(columnaClave), TextoSql::Literal(valorClave)));
    if (rs.Eof()) {
        m_mensajero.Mostrar(QStringLiteral("No existe el registro %1 en %2.").arg(valorClave, tabla),
                            Sistema::EstiloInformacion, QStringLiteral("Consulta de registro"),
                            QApplication::activeWindow(), QStringLiteral("ORVINDA"), QStringLiteral("ERR-ID:9900010"));
        return;
    }
    if (m_mensajero.Desatendido())
        return;

    QDialog dialogo(QApplication::activeWindow());
    dialogo.setWindowTitle(QStringLiteral("%1 · %2").arg(tabla, valorClave));
    auto* tabla_ = new QTableWidget(rs.FieldsCount(), 2, &dialogo);
    tabla_->setHorizontalHeaderLabels({QStringLiteral("Columna"), QStringLiteral("Valor")});
    tabla_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabla_->verticalHeader()->hide();
    tabla_->horizontalHeader()->setStretchLastSection(true);
    for (int i = 0; i < rs.FieldsCount(); ++i) {
        const Campo c = rs.Fields(i);
        tabla_->setItem(i, 0, new QTableWidgetItem(c.Name()));
        tabla_->setItem(i, 1, new QTableWidgetItem(c.EsNulo() ? QStringLiteral("(nulo)") : c.Value().toString()));
    }
    tabla_->resizeColumnToContents(0);
    auto* botones = new QDialogButtonBox(QDialogButtonBox::Close, &dialogo);
    QObject::connect(botones, &QDialogButtonBox::rejected, &dialogo, &QDialog::reject);
    auto* capa = new QVBoxLayout(&dialogo);
    capa->addWidget(tabla_);
    capa->addWidget(botones);
    dialogo.resize(640, 480);
    dialogo.exec();
}

} // namespace orvinda
