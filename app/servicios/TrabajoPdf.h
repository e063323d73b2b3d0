#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QTimer;
class QWebEnginePage;

namespace orvinda {

// One document rendered to a PDF file by the embedded browser, in the
// background: loading and printing are answered through the event loop,
// so the window goes on meanwhile. It ends once, with the file written or
// why not, within the time given, and then goes away by itself.
class TrabajoPdf : public QObject
{
    Q_OBJECT

public:
    using AlTerminar = std::function<void(const QString& archivo, const QString& error)>;

    // Starts at once; alTerminar hears the end.
    static void Iniciar(const QString& html, const QString& ruta, AlTerminar alTerminar, int esperaMs = 30000);

private:
    TrabajoPdf(QString ruta, AlTerminar alTerminar);
    ~TrabajoPdf() override;
    void Cargada(bool correcta);
    void Impreso(const QByteArray& pdf);
    void Terminar(const QString& error);

    QString m_ruta;
    AlTerminar m_alTerminar;
    std::unique_ptr<QWebEnginePage> m_pagina;
    QTimer* m_limite = nullptr;
    bool m_terminado = false;
};

} // namespace orvinda
