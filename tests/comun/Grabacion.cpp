#include "comun/Grabacion.h"

QStringList Grabacion::LlamadasA(const QString& operacion) const
{
    QStringList r;
    for (const QString& l : llamadas)
        if (l.startsWith(operacion + u'('))
            r.append(l);
    return r;
}
