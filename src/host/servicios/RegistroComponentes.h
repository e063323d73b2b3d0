#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace orvinda {

// The per-user component registry: which class id and which library stand
// behind a programmatic identifier. An INI file with two sections:
//   [ProgID]  <programmatic id>=<class id>
//   [CLSID]   <class id>\ProgID=..., <class id>\Biblioteca=<absolute library path>
// Its place is $ORVINDA_REGISTRO when set, else <user config>/Orvinda/componentes.ini.
// It says which library runs as this user, so it is read only through a
// descriptor judged first (never through a link, never one another user may
// change) and written whole beside itself, then renamed into place.
class RegistroComponentes
{
public:
    struct Entrada
    {
        QString idPrograma;
        QString clsid;
        QString biblioteca;
    };

    static QString Ruta();
    // Whether Ruta is the shell's own (no $ORVINDA_REGISTRO names another).
    static bool RutaPropia();
    // Throws ErrorRm when the file cannot be written, naming why.
    static void Escribir(const Entrada& entrada);
    static void Borrar(const QString& idPrograma);
    static std::optional<Entrada> Buscar(const QString& idPrograma);
    // The registry's text; empty when there is none. Throws ErrorRm when the
    // file may not be trusted or cannot be read.
    static QByteArray Contenido();
    // Why the last Escribir or Borrar failed, for whoever gets only a result
    // code (DllRegisterServer); empty after one that succeeded.
    static QString UltimoError();
};

} // namespace orvinda
