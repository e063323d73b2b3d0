#include "comun/Grabacion.h"

QStringList Grabacion::LlamadasA(const QString& operacion) const
{
    QStringList r;
    for (const QString& l : llamadas)
        if (l.startsWith(operacion + u'('))
            r.append(l);
    return r;
}

QStringList Grabacion::Avisos() const
{
    QStringList r;
    for (const Mensaje& m : mensajes)
        r.append(QStringLiteral("%1|%2|%3|%4|%5").arg(m.idError).arg(m.estilo).arg(m.titulo, m.nombreVentana, m.mensaje));
    return r;
}

QStringList Grabacion::TomarAvisos()
{
    const QStringList r = Avisos();
    mensajes.clear();
    return r;
}
