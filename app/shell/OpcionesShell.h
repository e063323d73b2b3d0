#pragma once

#include <QString>
#include <QStringList>

namespace orvinda {

// The shell's command line.
struct OpcionesShell
{
    QString baseDatos;      // --db: a file path or an ODBC connection string
    QString operador;       // --operador; empty: the one mapped to the session's account
    int nivel = -1;         // --nivel; -1: the operator's level in Operadores
    QString crearDemo;      // --crear-demo FILE
    QString traza;          // --traza FILE
    QString captura;        // --captura FILE
    bool desatendido = false;
    QString error;          // set when the command line is not valid

    static OpcionesShell Leer(const QStringList& argumentos);
};

} // namespace orvinda
