#pragma once

#include "host/datos/LectorFilas.h"

#include <QList>
#include <QLocale>
#include <memory>

namespace orvinda {

class AvanceCarga;
class ListView;
class ModeloLista;

// Fills a list view straight from a query's rows: each value goes once into
// the list's store, the columns take the query's names and a width that fits
// the first rows. A fill that takes longer than half a second (alone, or in
// the batch it belongs to) shows its progress and keeps the window painting.
class LlenadoLista : public LectorFilas
{
public:
    explicit LlenadoLista(ListView& lista);
    ~LlenadoLista() override;
    LlenadoLista(const LlenadoLista&) = delete;
    LlenadoLista& operator=(const LlenadoLista&) = delete;

    void Columnas(const QStringList& nombres) override;
    bool Fila(const QVariant* valores, int cuantos) override;
    // Shows the rows read; also done, with what was read, if the read fails.
    void Terminar();

private:
    void Medir(int columna, const QString& texto);

    ListView& m_lista;
    ModeloLista& m_modelo;
    QStringList m_nombres;
    QList<int> m_anchos;
    QStringList m_masLargo;
    // The regional format of numbers, as Campo::Texto writes them.
    QLocale m_regional;
    bool m_formatoSimple = false;
    int m_filas = 0;
    bool m_cargando = false;
    std::unique_ptr<AvanceCarga> m_propio;
    AvanceCarga* m_avance = nullptr;
};

} // namespace orvinda
