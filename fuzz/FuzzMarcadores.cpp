// Feeds arbitrary text to the placeholder language and checks it against a
// plain reference: same replacements, no crash, no read past the text.

#include "marcadores/Marcadores.h"
#include "marcadores/MarcadoresHtml.h"

#include <QRegularExpression>
#include <QString>
#include <cstdint>
#include <cstdlib>

using rm640::Marcadores;
using rm640::MarcadoresHtml;

namespace {

// The obvious way to replace: search, copy, skip the token, search again.
QString Referencia(const QString& texto, const QString& marcador, const QString& valor, bool ignorar)
{
    if (marcador.isEmpty())
        return texto;
    const Qt::CaseSensitivity cs = ignorar ? Qt::CaseInsensitive : Qt::CaseSensitive;
    QString r;
    qsizetype desde = 0;
    for (qsizetype p = texto.indexOf(marcador, 0, cs); p >= 0; p = texto.indexOf(marcador, desde, cs)) {
        r += texto.mid(desde, p - desde);
        r += valor;
        desde = p + marcador.size();
    }
    r += texto.mid(desde);
    return r;
}

void Comprobar(bool condicion)
{
    if (!condicion)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano)
{
    // Parts separated by 0x01: text, token, value, field list, columns (0x02-separated).
    const QString entrada = QString::fromUtf8(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(tamano));
    const QStringList partes = entrada.split(QChar(1));
    const QString texto = partes.value(0);
    const QString marcador = partes.value(1);
    const QString valor = partes.value(2);
    const QString lista = partes.value(3);
    const QStringList columnas = partes.value(4).split(QChar(2), Qt::SkipEmptyParts);

    // Case-sensitive replacement must equal the reference exactly. Qt's
    // case-insensitive search folds only the first half of a surrogate
    // pair's match, so the comparison ignoring case keeps to the BMP.
    Comprobar(Marcadores::SustituirMarcador(texto, marcador, valor, false)
              == Referencia(texto, marcador, valor, false));
    bool bmp = true;
    for (const QChar c : texto + marcador)
        bmp = bmp && !c.isSurrogate();
    if (bmp)
        Comprobar(Marcadores::SustituirMarcador(texto, marcador, valor, true)
                  == Referencia(texto, marcador, valor, true));

    // Values that carry tokens may grow the text pass after pass; past the
    // limit the expansion fails with ErrorRm, never by running out of memory.
    QList<rm640::ColumnaPlantilla> fila;
    for (const QString& c : columnas)
        fila.append({c, valor});
    try {
        Comprobar(Marcadores::ExpandirPlantilla(texto, fila).size() <= Marcadores::LongitudMaxima);
    } catch (const orvinda::ErrorRm&) {
    }
    // Escaped by where each token stands: within the limit, refused only by
    // an error, and a value without any of & < > " ' writes what it always did.
    try {
        const QString html = MarcadoresHtml::ExpandirPlantilla(texto, fila, MarcadoresHtml::Modo::Escapar);
        Comprobar(html.size() <= Marcadores::LongitudMaxima);
        if (!valor.contains(QRegularExpression(QStringLiteral("[&<>\"']"))))
            Comprobar(html == Marcadores::ExpandirPlantilla(texto, fila));
    } catch (const orvinda::ErrorRm&) {
    }

    int llamadasGancho = 0;
    try {
        const auto r = Marcadores::ExpandirAutorizacion(
            texto, lista, columnas, [&](const QString& campo) { return campo.size() % 3 ? valor : QString(); },
            [&](QString& v) {
                ++llamadasGancho;
                v += QStringLiteral("!");
            },
            QStringLiteral("F1"), QStringLiteral("OP"), QStringLiteral("2026-12-06T10:30:00"));
        Comprobar(r.completa() || r.sentencia.isEmpty());
    } catch (const orvinda::ErrorRm&) {
    }
    Comprobar(llamadasGancho <= lista.count(QStringLiteral("COMENTARIO_DOCUMENTO")));
    (void)Marcadores::ExpandirRechazo(texto, valor, marcador, lista);
    return 0;
}
