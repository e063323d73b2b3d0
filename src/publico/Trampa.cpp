#include "publico/Trampa.h"

#include "host/errores/ErrorRm.h"
#include "marcadores/MarcadoresSql.h"
#include "publico/Publico.h"

namespace rm640 {

const QString Trampa::Modulo = QStringLiteral("RM640");

namespace {

orvinda::ErrorRm::Causa g_ultimaCausa = orvinda::ErrorRm::Causa::Sentencia;

void AnotarCausa(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const orvinda::ErrorRm& e) {
        if (e.ObtenerCausa() != orvinda::ErrorRm::Causa::Sentencia)
            g_ultimaCausa = e.ObtenerCausa();
    } catch (...) {
    }
}

} // namespace

orvinda::ErrorRm::Causa Trampa::UltimaCausa()
{
    return g_ultimaCausa;
}

void Trampa::OlvidarCausa()
{
    g_ultimaCausa = orvinda::ErrorRm::Causa::Sentencia;
}

bool Trampa::Pasajera(orvinda::ErrorRm::Causa causa)
{
    using C = orvinda::ErrorRm::Causa;
    return causa == C::ConexionPerdida || causa == C::SinRespuesta || causa == C::Almacenamiento;
}

QVariant Trampa::Mostrar(QWidget* ventana, const QString& mensaje, int estilo, const QString& titulo,
                         const QString& idError, qsizetype graves)
{
    if (graves > 0)
        return Publico::Sistema->MostrarInforme(mensaje, estilo, titulo, ventana, Modulo, idError, graves);
    return Publico::Sistema->MostrarMensaje(mensaje, estilo, titulo, ventana, Modulo, idError);
}

int Trampa::Preguntar(QWidget* ventana, const QString& mensaje, const QString& titulo, const QString& idError,
                      int predeterminada, int desatendida)
{
    return Publico::Sistema->Preguntar(mensaje, titulo, ventana, Modulo, idError, predeterminada, desatendida).toInt();
}

QString Trampa::Descripcion(const std::exception_ptr& error)
{
    return Explicada(error, QString());
}

QString Trampa::Explicada(const std::exception_ptr& error, const QString& pista)
{
    const auto conPista = [&](const QString& descripcion) {
        return pista.isEmpty() ? descripcion : pista + QStringLiteral("\r\n") + descripcion;
    };
    try {
        std::rethrow_exception(error);
    } catch (const orvinda::ErrorRm& e) {
        return e.Explicada(pista);
    } catch (const std::exception& e) {
        return conPista(QString::fromUtf8(e.what()));
    } catch (...) {
        return conPista(QStringLiteral("Error inesperado."));
    }
}

bool Trampa::Atrapar(const std::function<void(const QString&)>& alFallar, const std::function<void()>& cuerpo)
{
    try {
        cuerpo();
        return true;
    } catch (...) {
        AnotarCausa(std::current_exception());
        const QString descripcion = Descripcion(std::current_exception());
        Intentar([&] { alFallar(descripcion); });
        return false;
    }
}

bool Trampa::Atrapar(const QString& pista, const std::function<void(const QString&)>& alFallar,
                     const std::function<void(const QString&)>& alRehusar, const std::function<void()>& cuerpo)
{
    try {
        cuerpo();
        return true;
    } catch (const ValorNoAdmitido& e) {
        const QString descripcion = e.Descripcion();
        Intentar([&] { alRehusar(descripcion); });
        return false;
    } catch (...) {
        AnotarCausa(std::current_exception());
        const QString texto = Explicada(std::current_exception(), pista);
        Intentar([&] { alFallar(texto); });
        return false;
    }
}

void Trampa::Intentar(const std::function<void()>& sentencia)
{
    try {
        sentencia();
    } catch (...) {
    }
}

} // namespace rm640
