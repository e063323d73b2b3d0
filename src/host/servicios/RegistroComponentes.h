#pragma once

#include <QString>
#include <optional>

namespace orvinda {

// The per-user component registry: which class id and which library stand
// behind a programmatic identifier. An INI file with two sections:
//   [ProgID]  <programmatic id>=<class id>
//   [CLSID]   <class id>\ProgID=..., <class id>\Biblioteca=<absolute library path>
// Its place is $ORVINDA_REGISTRO when set, else <user config>/Orvinda/componentes.ini.
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
    static void Escribir(const Entrada& entrada); // throws ErrorRm when the file cannot be written
    static void Borrar(const QString& idPrograma);
    static std::optional<Entrada> Buscar(const QString& idPrograma);
};

} // namespace orvinda
