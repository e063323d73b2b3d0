#include "shell/Trampa.h"

#include "config/MarcadoresSql.h"
#include "host/datos/ErrorRm.h"
#include "shell/Publico.h"

namespace rm640 {

const QString Trampa::Modulo = QStringLiteral("RM640");

QVariant Trampa::Mostrar(QWidget* ventana, const QString& mensaje, int estilo, const QString& titulo,
                         const QString& idError)
{
    return Publico::Sistema->MostrarMensaje(mensaje, estilo, titulo, ventana, Modulo, idError);
}

QString Trampa::Descripcion(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const orvinda::ErrorRm& e) {
        return e.Descripcion();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Error inesperado.");
    }
}

bool Trampa::Atrapar(const std::function<void(const QString&)>& alFallar, const std::function<void()>& cuerpo)
{
    try {
        cuerpo();
        return true;
    } catch (...) {
        const QString descripcion = Descripcion(std::current_exception());
        Intentar([&] { alFallar(descripcion); });
        return false;
    }
}

bool Trampa::Atrapar(const std::function<void(const QString&)>& alFallar,
                     const std::function<void(const QString&)>& alRehusar, const std::function<void()>& cuerpo)
{
    bool rehusado = false;
    const bool terminado = Atrapar(alFallar, [&] {
        try {
            cuerpo();
        } catch (const ValorNoAdmitido& e) {
            rehusado = true;
            const QString descripcion = e.Descripcion();
            Intentar([&] { alRehusar(descripcion); });
        }
    });
    return terminado && !rehusado;
}

void Trampa::Intentar(const std::function<void()>& sentencia)
{
    try {
        sentencia();
    } catch (...) {
    }
}

} // namespace rm640
