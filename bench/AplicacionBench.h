#pragma once

#include <QApplication>

// The application of a benchmark that shows documents: the browser engine
// and the shell's page scheme set up as the shell sets them up, and the
// engine's sandbox off when run as root.
class AplicacionBench : public QApplication
{
public:
    AplicacionBench(int& argc, char** argv);

private:
    static int& Preparar(int& argc);
};
