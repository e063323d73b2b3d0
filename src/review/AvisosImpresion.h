#pragma once

#include <QObject>
#include <QString>

namespace rm640 {

// Where the end of a document's printing is told when nobody waits for it
// (the review dialog is gone by then): the inbox listens and shows it in
// its status area. With nobody listening, a failure goes to a message box.
class AvisosImpresion : public QObject
{
    Q_OBJECT

public:
    static AvisosImpresion& Instancia();
    // Someone shows what is told here.
    bool Escuchado() const;

signals:
    // archivo: the file written; error: why not (archivo is then empty).
    void Impreso(const QString& folio, const QString& archivo, const QString& error);

private:
    AvisosImpresion() = default;
};

} // namespace rm640
