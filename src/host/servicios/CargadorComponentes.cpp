#include "host/servicios/CargadorComponentes.h"

#include "host/errores/ErrorRm.h"
#include "host/servicios/ArchivosPrivados.h"
#include "host/servicios/FabricaClase.h"
#include "host/servicios/RegistroComponentes.h"

#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QObject>
#include <QScopeGuard>
#include <cstring>
#include <elf.h>
#include <map>
#include <memory>

namespace orvinda {

namespace {

std::map<QString, std::unique_ptr<QLibrary>>& Bibliotecas()
{
    static std::map<QString, std::unique_ptr<QLibrary>> b;
    return b;
}

// A truncated library would be mapped all the same, and the process would
// die (SIGBUS) when it touched a page past the end of the file: its headers
// are checked against the file's size before it is loaded.
void VerificarBiblioteca(const QString& ruta)
{
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        throw ErrorRm(QStringLiteral("No se puede leer la biblioteca del componente %1: %2").arg(ruta, f.errorString()),
                      48);
    const auto danada = [&ruta](const char* motivo) {
        return ErrorRm(QStringLiteral("La biblioteca del componente %1 está dañada (%2); reinstale el componente.")
                           .arg(ruta, QString::fromUtf8(motivo)),
                       48);
    };
    const quint64 tamanio = quint64(f.size());
    Elf64_Ehdr e{};
    if (f.read(reinterpret_cast<char*>(&e), sizeof e) != qint64(sizeof e)
        || std::memcmp(e.e_ident, ELFMAG, SELFMAG) != 0 || e.e_ident[EI_CLASS] != ELFCLASS64)
        throw danada("no es una biblioteca ELF de 64 bits");
    if (e.e_shoff + quint64(e.e_shnum) * e.e_shentsize > tamanio
        || e.e_phoff + quint64(e.e_phnum) * e.e_phentsize > tamanio)
        throw danada("el archivo está truncado");
    for (int i = 0; i < e.e_phnum; ++i) {
        Elf64_Phdr p{};
        if (!f.seek(qint64(e.e_phoff + quint64(i) * e.e_phentsize))
            || f.read(reinterpret_cast<char*>(&p), sizeof p) != qint64(sizeof p))
            throw danada("el archivo está truncado");
        if (p.p_type == PT_LOAD && p.p_offset + p.p_filesz > tamanio)
            throw danada("el archivo está truncado");
    }
}

QLibrary& Cargar(const QString& ruta)
{
    auto& b = Bibliotecas();
    auto it = b.find(ruta);
    if (it != b.end() && it->second->isLoaded())
        return *it->second;
    if (!QFileInfo::exists(ruta))
        throw ErrorRm(QStringLiteral("No se encuentra la biblioteca del componente: %1").arg(ruta), 48);
    // Loading it runs its code as this user: nobody else may have put it there.
    if (const QString motivo = ArchivosPrivados::MotivoNoConfiable(ruta); !motivo.isEmpty())
        throw ErrorRm(QStringLiteral("No se carga la biblioteca del componente %1: %2.").arg(ruta, motivo), 48);
    VerificarBiblioteca(ruta);
    auto lib = std::make_unique<QLibrary>(ruta);
    if (!lib->load())
        throw ErrorRm(
            QStringLiteral("No se puede cargar la biblioteca del componente %1: %2").arg(ruta, lib->errorString()), 48);
    QLibrary& r = *lib;
    b[ruta] = std::move(lib);
    return r;
}

template <typename Funcion>
Funcion Exportada(QLibrary& lib, const char* nombre)
{
    auto f = reinterpret_cast<Funcion>(lib.resolve(nombre));
    if (!f)
        throw ErrorRm(QStringLiteral("La biblioteca %1 no exporta %2.").arg(lib.fileName(), QLatin1String(nombre)),
                      453);
    return f;
}

QString Hex(std::int32_t hr)
{
    return QStringLiteral("0x%1").arg(static_cast<quint32>(hr), 8, 16, QLatin1Char('0'));
}

} // namespace

std::unique_ptr<QObject> CargadorComponentes::CrearObjeto(const QString& idPrograma)
{
    const auto entrada = RegistroComponentes::Buscar(idPrograma);
    if (!entrada)
        throw ErrorRm(
            QStringLiteral("El componente no puede crear el objeto: '%1' no está registrado.").arg(idPrograma), 429);
    QLibrary& lib = Cargar(entrada->biblioteca);
    auto obtener = Exportada<FuncionDllGetClassObject>(lib, "DllGetClassObject");

    void* puntero = nullptr;
    const QByteArray clsid = entrada->clsid.toLatin1();
    const std::int32_t hr = obtener(clsid.constData(), IID_IClassFactory, &puntero);
    if (hr != Hresult::S_Ok || !puntero)
        throw ErrorRm(QStringLiteral("El componente no puede crear el objeto '%1' (%2).").arg(idPrograma, Hex(hr)),
                      429);
    auto* fabrica = static_cast<FabricaClase*>(puntero);
    // A creation that throws (a failed start-up) must not keep the library
    // pinned by a reference nobody holds.
    const auto liberar = qScopeGuard([fabrica] { fabrica->Release(); });
    QObject* objeto = fabrica->CrearInstancia();
    if (!objeto)
        throw ErrorRm(QStringLiteral("El componente no puede crear el objeto '%1'.").arg(idPrograma), 429);
    return std::unique_ptr<QObject>(objeto);
}

void CargadorComponentes::RegistrarBiblioteca(const QString& biblioteca)
{
    QLibrary& lib = Cargar(biblioteca);
    const std::int32_t hr = Exportada<FuncionDllRegisterServer>(lib, "DllRegisterServer")();
    if (hr != Hresult::S_Ok)
        throw ErrorRm(QStringLiteral("DllRegisterServer de %1 falló (%2).").arg(biblioteca, Hex(hr)));
}

int CargadorComponentes::LiberarBibliotecasSinUso()
{
    int liberadas = 0;
    auto& b = Bibliotecas();
    for (auto it = b.begin(); it != b.end();) {
        auto puede = reinterpret_cast<FuncionDllCanUnloadNow>(it->second->resolve("DllCanUnloadNow"));
        if (puede && puede() == Hresult::S_Ok) {
            it->second->unload();
            it = b.erase(it);
            ++liberadas;
        } else {
            ++it;
        }
    }
    return liberadas;
}

} // namespace orvinda
