#include "host/controles/ComparacionTexto.h"

#include <QString>

namespace orvinda {

namespace {

char Minuscula(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Reads exactly n digits at t[i]; advances i.
bool Digitos(QByteArrayView t, qsizetype& i, int n, int& valor)
{
    if (i + n > t.size())
        return false;
    valor = 0;
    for (int k = 0; k < n; ++k) {
        const char c = t[i + k];
        if (c < '0' || c > '9')
            return false;
        valor = valor * 10 + (c - '0');
    }
    i += n;
    return true;
}

// Latin letters whose stroke or bar is part of the letter, so Unicode gives
// them no decomposition: a reader still takes "ł" for an "l" with a mark.
QChar SinDescomposicion(QChar letra)
{
    switch (letra.unicode()) {
    case 0x00D0: // Ð
    case 0x0110: // Đ
    case 0x0111: // đ
    case 0x00F0: return QLatin1Char('d'); // ð
    case 0x00D8: // Ø
    case 0x00F8: return QLatin1Char('o'); // ø
    case 0x0126: // Ħ
    case 0x0127: return QLatin1Char('h'); // ħ
    case 0x0131: return QLatin1Char('i'); // ı
    case 0x0141: // Ł
    case 0x0142: return QLatin1Char('l'); // ł
    case 0x0166: // Ŧ
    case 0x0167: return QLatin1Char('t'); // ŧ
    case 0x0180: // ƀ
    case 0x0243: return QLatin1Char('b'); // Ƀ
    case 0x01B5: // Ƶ
    case 0x01B6: return QLatin1Char('z'); // ƶ
    default: return letra;
    }
}

} // namespace

void ComparacionTexto::PlegarEn(QByteArrayView utf8, QByteArray& destino)
{
    // Latin letters with accents (U+00C0 to U+00FF, two bytes after 0xC3)
    // map to their base letter here; any other text takes the general way.
    static constexpr char Latinas[32] = {'a', 'a', 'a', 'a', 'a', 'a', 0,   'c', 'e', 'e', 'e', 'e', 'i', 'i', 'i', 'i',
                                         0,   'n', 'o', 'o', 'o', 'o', 'o', 0,   0,   'u', 'u', 'u', 'u', 'y', 0,   0};
    const qsizetype inicio = destino.size();
    destino.reserve(inicio + utf8.size());
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            destino.append(Minuscula(static_cast<char>(c)));
            continue;
        }
        if (c == 0xC3 && i + 1 < utf8.size()) {
            const auto b = static_cast<unsigned char>(utf8[i + 1]);
            const char base = b == 0xBF ? 'y' : (b >= 0x80 && b <= 0xBF) ? Latinas[b & 0x1F] : 0;
            if (base) {
                destino.append(base);
                ++i;
                continue;
            }
        }
        destino.truncate(inicio);
        // Compatibility forms too (ligatures, full-width letters), then the
        // marks dropped: decomposed text (NFD, as some systems store it) and
        // composed text fold alike.
        const QString descompuesto = QString::fromUtf8(utf8).normalized(QString::NormalizationForm_KD);
        QString sinMarcas;
        sinMarcas.reserve(descompuesto.size());
        for (QChar letra : descompuesto) {
            const QChar::Category categoria = letra.category();
            if (categoria == QChar::Mark_NonSpacing || categoria == QChar::Mark_Enclosing)
                continue;
            sinMarcas.append(SinDescomposicion(letra));
        }
        destino.append(sinMarcas.toCaseFolded().toUtf8());
        return;
    }
}

QByteArray ComparacionTexto::Plegar(QByteArrayView utf8)
{
    QByteArray r;
    PlegarEn(utf8, r);
    return r;
}

bool ComparacionTexto::Numero(QByteArrayView texto, double& valor)
{
    QByteArrayView t = texto.trimmed();
    bool negativo = false;
    if (t.startsWith('-')) {
        negativo = true;
        t = t.sliced(1).trimmed();
    }
    if (t.startsWith('$'))
        t = t.sliced(1).trimmed();
    if (t.isEmpty() || t.size() > 40)
        return false;
    char limpio[48];
    int n = 0;
    bool punto = false, digito = false;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const char c = t[i];
        if (c >= '0' && c <= '9') {
            limpio[n++] = c;
            digito = true;
        } else if (c == '.' && !punto) {
            limpio[n++] = c;
            punto = true;
        } else if (c == ',' && !punto && digito) {
            continue; // thousands separator
        } else {
            return false;
        }
    }
    if (!digito)
        return false;
    limpio[n] = '\0';
    bool ok = false;
    const double v = QByteArrayView(limpio, n).toDouble(&ok);
    if (!ok)
        return false;
    valor = negativo ? -v : v;
    return true;
}

bool ComparacionTexto::Fecha(QByteArrayView texto, qint64& valor)
{
    const QByteArrayView t = texto.trimmed();
    qsizetype i = 0;
    int anio = 0, mes = 0, dia = 0, hora = 0, minuto = 0, segundo = 0;
    if (t.size() >= 10 && t[4] == '-') {
        if (!Digitos(t, i, 4, anio) || t[i++] != '-' || !Digitos(t, i, 2, mes) || t[i++] != '-'
            || !Digitos(t, i, 2, dia))
            return false;
    } else if (t.size() >= 10 && t[2] == '/') {
        if (!Digitos(t, i, 2, dia) || t[i++] != '/' || !Digitos(t, i, 2, mes) || t[i++] != '/'
            || !Digitos(t, i, 4, anio))
            return false;
    } else {
        return false;
    }
    if (i < t.size()) {
        if (t[i] != ' ' && t[i] != 'T')
            return false;
        ++i;
        if (!Digitos(t, i, 2, hora) || i >= t.size() || t[i++] != ':' || !Digitos(t, i, 2, minuto))
            return false;
        if (i < t.size() && t[i] == ':') {
            ++i;
            if (!Digitos(t, i, 2, segundo))
                return false;
            // Fractions of a second do not change the order enough to matter.
            while (i < t.size() && (t[i] == '.' || (t[i] >= '0' && t[i] <= '9')))
                ++i;
        }
        if (i != t.size())
            return false;
    }
    if (mes < 1 || mes > 12 || dia < 1 || dia > 31 || hora > 23 || minuto > 59 || segundo > 60)
        return false;
    valor = ((((anio * 100LL + mes) * 100 + dia) * 100 + hora) * 100 + minuto) * 100 + segundo;
    return true;
}

} // namespace orvinda
