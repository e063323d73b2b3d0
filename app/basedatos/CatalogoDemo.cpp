#include "basedatos/CatalogoDemo.h"

#include <QFile>
#include <stdexcept>
#include <utility>

namespace orvinda {

QString CatalogoDemo::Recurso(const QString& ruta)
{
    QFile archivo(QStringLiteral(":/demo/") + ruta);
    if (!archivo.open(QIODevice::ReadOnly))
        throw std::runtime_error(("Falta el recurso de demostración " + ruta).toStdString());
    QString texto = QString::fromUtf8(archivo.readAll());
    if (texto.endsWith(QLatin1Char('\n')))
        texto.chop(1);
    return texto;
}

std::vector<QStringList> CatalogoDemo::Tabla(const QString& ruta)
{
    std::vector<QStringList> filas;
    const QStringList lineas = Recurso(ruta).split(QLatin1Char('\n'));
    for (qsizetype i = 1; i < lineas.size(); ++i) {
        QStringList campos = lineas[i].split(QLatin1Char('\t'));
        for (QString& c : campos)
            if (c.isNull())
                c = QStringLiteral("");
        filas.push_back(campos);
    }
    return filas;
}

QString CatalogoDemo::Insercion(const QString& tabla) const
{
    const auto it = inserciones.find(tabla);
    if (it == inserciones.end())
        throw std::runtime_error(("Falta la inserción de demostración de " + tabla).toStdString());
    return it->second;
}

CatalogoDemo::CatalogoDemo()
{
    for (const QStringList& f : Tabla(QStringLiteral("inserciones.tsv")))
        inserciones[f[0]] = f[1];
    for (const QStringList& f : Tabla(QStringLiteral("departamentos.tsv")))
        departamentos.push_back({f[0], f[1], f[2], f[3]});
    for (const QStringList& f : Tabla(QStringLiteral("empleados.tsv")))
        empleados.push_back({f[0], f[1], f[2], f[3], f[4], f[5], f.value(6)});
    for (const Empleado& e : empleados) {
        if (e.papel.contains(QLatin1Char('C')))
            compradores.push_back(&e);
        if (e.papel.contains(QLatin1Char('V')))
            viajeros.push_back(&e);
    }
    for (const QStringList& f : Tabla(QStringLiteral("proveedores.tsv")))
        proveedores.push_back({f[0], f[1], f[2], f[3], f[4].toInt(), f[5]});
    for (const QStringList& f : Tabla(QStringLiteral("articulos.tsv")))
        articulos.push_back({f[0], f[1], f[2], f[3].toLongLong(), f[4].at(0)});
    for (const QStringList& f : Tabla(QStringLiteral("conceptos_gasto.tsv")))
        conceptosGasto.push_back({f[0], f[1].toLongLong(), f[2].toLongLong(), f[3] == QLatin1String("1"), f.mid(4, 3)});
    const std::pair<const char*, QStringList*> listas[] = {
        {"justificacion", &justificaciones},
        {"lugar_entrega", &lugaresEntrega},
        {"destino", &destinos},
        {"motivo", &motivos},
        {"observacion_vacaciones", &observacionesVacaciones},
        {"rechazo_requisicion", &rechazosRequisicion},
        {"rechazo_orden", &rechazosOrden},
        {"rechazo_gastos", &rechazosGastos},
        {"rechazo_vacaciones", &rechazosVacaciones},
        {"comentario_autorizacion", &comentariosAutorizacion},
    };
    for (const QStringList& f : Tabla(QStringLiteral("textos.tsv")))
        for (const auto& [nombre, lista] : listas)
            if (f[0] == QLatin1String(nombre))
                lista->append(f[1]);
}

} // namespace orvinda
