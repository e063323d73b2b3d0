#pragma once

#include "comun/EntornoPrueba.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

// The shell itself, run as the operator starts it.
class PruebaConShell : public EntornoPrueba
{
protected:
    // Its exit code, then what it printed and what it traced.
    std::pair<int, QString> Orvinda(QStringList argumentos, const QProcessEnvironment& entorno = QProcessEnvironment::systemEnvironment())
    {
        const QString traza = carpeta.filePath(QStringLiteral("traza%1.txt").arg(++corridas));
        QProcess p;
        p.setProcessEnvironment(entorno);
        p.setProcessChannelMode(QProcess::MergedChannels);
        if (!argumentos.contains("--traza"))
            argumentos << "--traza" << traza;
        p.start(QCoreApplication::applicationDirPath() + "/orvinda", argumentos);
        EXPECT_TRUE(p.waitForFinished(120000));
        QFile t(traza);
        return {p.exitCode(), QString::fromLocal8Bit(p.readAll()) + QString::fromUtf8(t.open(QIODevice::ReadOnly) ? t.readAll() : QByteArray())};
    }

    // A connection string in a file only the user may read, as --db @ARCHIVO takes it.
    QString ConexionPrivada(const QString& nombre, const QString& destino)
    {
        QFile f(carpeta.filePath(nombre));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write((destino + "\n").toUtf8()) > 0 && f.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
        return "@" + f.fileName();
    }

    int corridas = 0;
};
