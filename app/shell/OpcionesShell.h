#pragma once

#include <QString>
#include <QStringList>

namespace orvinda {

// The shell's command line.
struct OpcionesShell
{
    QString baseDatos; // --db: a file path, an ODBC connection string, or @FILE holding either
    QString operador; // --operador; empty: the one mapped to the session's account
    int nivel = -1; // --nivel; -1: the operator's level in Operadores
    QString crearDemo; // --crear-demo FILE
    QString traza; // --traza FILE
    QString captura; // --captura FILE
    bool desatendido = false;
    bool verificarBitacora = false; // --verificar-bitacora
    QString desde; // --desde HASH: a head hash recorded earlier
    bool actualizarEsquema = false; // --actualizar-esquema
    QString error; // set when the command line is not valid
    QString texto; // --help or --version: printed, and the shell ends

    // Exit codes, as --help lists them.
    static constexpr int SalidaBien = 0;
    static constexpr int SalidaFallo = 1;
    static constexpr int SalidaLineaDeOrdenes = 2;
    static constexpr int SalidaBitacoraAlterada = 3;

    // What runs with no window and needs no display.
    bool SinVentana() const
    {
        return !error.isEmpty() || !texto.isEmpty() || !crearDemo.isEmpty() || verificarBitacora || actualizarEsquema;
    }

    static OpcionesShell Leer(const QStringList& argumentos);
};

} // namespace orvinda
