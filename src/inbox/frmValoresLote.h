#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <QVariantMap>

class QLineEdit;

namespace rm640 {

// Before a bulk run, the required fields of the configuration asked for
// once: what is typed goes into every selected document whose page leaves
// the field empty; a value on a document's page wins. Nothing typed runs as
// without it. Shown with open(): the run starts from accepted().
class frmValoresLote : public QDialog
{
    Q_OBJECT

public:
    struct Campo
    {
        QString nombre;
        // As the page labels it; the name when the page has no label for it.
        QString etiqueta;
    };

    // The required items of the field list ("*NOMBRE"), each labelled as
    // the template's <label for="NOMBRE"> says.
    static QList<Campo> Obligatorios(const QString& campos, const QString& plantilla);

    frmValoresLote(const QList<Campo>& campos, int documentos, QWidget* parent = nullptr);

    // By name, the fields given a value (blanks around it dropped).
    QVariantMap Valores() const;
    QLineEdit* Caja(const QString& nombre) const;

private:
    QList<std::pair<QString, QLineEdit*>> m_cajas;
};

} // namespace rm640
