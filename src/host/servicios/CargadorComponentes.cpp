#include "host/servicios/CargadorComponentes.h"

#include "host/datos/ArchivoVerificado.h"
#include "host/errores/ErrorRm.h"
#include "host/servicios/FabricaClase.h"
#include "host/servicios/RegistroComponentes.h"

#include <QFile>
#include <QLibrary>
#include <QObject>
#include <QScopeGuard>
#include <algorithm>
#include <cstring>
#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <map>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace orvinda {

namespace {

// A library as it is loaded: from the descriptor it was judged on, which
// stays open while the library is mapped.
struct Cargada
{
    std::unique_ptr<QLibrary> lib;
    ArchivoVerificado archivo;
};

std::map<QString, Cargada>& Bibliotecas()
{
    static std::map<QString, Cargada> b;
    return b;
}

// Descriptors of libraries the loader would not let go: the number, which
// names the library to it, must never name another file.
std::vector<ArchivoVerificado>& Retenidos()
{
    static std::vector<ArchivoVerificado> r;
    return r;
}

bool LeerEn(int fd, void* destino, size_t tamanio, quint64 desde)
{
    return ::pread(fd, destino, tamanio, off_t(desde)) == ssize_t(tamanio);
}

// A truncated library would be mapped all the same, and the process would
// die (SIGBUS) when it touched a page past the end of the file: its headers
// are checked against the file's size before it is loaded.
void VerificarBiblioteca(const QString& ruta, int fd)
{
    const auto danada = [&ruta](const char* motivo) {
        return ErrorRm(QStringLiteral("La biblioteca del componente %1 está dañada (%2); reinstale el componente.")
                           .arg(ruta, QString::fromUtf8(motivo)),
                       48);
    };
    const auto leer
        = [fd](void* destino, size_t tamanio, quint64 desde) { return LeerEn(fd, destino, tamanio, desde); };
    struct stat datos
    {
    };
    ::fstat(fd, &datos);
    const quint64 tamanio = quint64(datos.st_size);
    Elf64_Ehdr e{};
    if (!leer(&e, sizeof e, 0) || std::memcmp(e.e_ident, ELFMAG, SELFMAG) != 0 || e.e_ident[EI_CLASS] != ELFCLASS64)
        throw danada("no es una biblioteca ELF de 64 bits");
    if (e.e_shoff + quint64(e.e_shnum) * e.e_shentsize > tamanio
        || e.e_phoff + quint64(e.e_phnum) * e.e_phentsize > tamanio)
        throw danada("el archivo está truncado");
    for (int i = 0; i < e.e_phnum; ++i) {
        Elf64_Phdr p{};
        if (!leer(&p, sizeof p, e.e_phoff + quint64(i) * e.e_phentsize))
            throw danada("el archivo está truncado");
        if (p.p_type == PT_LOAD && p.p_offset + p.p_filesz > tamanio)
            throw danada("el archivo está truncado");
    }
}

// Loading a library runs its code as this user: nobody else may have put it
// there, and it must be whole.
ArchivoVerificado AbrirBiblioteca(const QString& ruta)
{
    ArchivoVerificado archivo = ArchivoVerificado::Abrir(ruta, O_RDONLY, ArchivoVerificado::Uso::Leer);
    if (archivo.Falta())
        throw ErrorRm(QStringLiteral("No se encuentra la biblioteca del componente: %1").arg(ruta), 48);
    if (!archivo.Abierto())
        throw ErrorRm(QStringLiteral("No se carga la biblioteca del componente %1: %2.").arg(ruta, archivo.Motivo()),
                      48);
    VerificarBiblioteca(ruta, archivo.Descriptor());
    return archivo;
}

// The text of the section RM640_SECCION_VERSION, read from the file: a
// library is asked its version without running any of it. Empty when it has
// none. The headers were checked by VerificarBiblioteca.
QString VersionEnArchivo(int fd)
{
    Elf64_Ehdr e{};
    Elf64_Shdr nombres{};
    if (!LeerEn(fd, &e, sizeof e, 0) || e.e_shstrndx == SHN_UNDEF || e.e_shstrndx >= e.e_shnum
        || !LeerEn(fd, &nombres, sizeof nombres, e.e_shoff + quint64(e.e_shstrndx) * e.e_shentsize))
        return {};
    QByteArray tabla(qsizetype(std::min<quint64>(nombres.sh_size, 1 << 20)), '\0');
    if (!LeerEn(fd, tabla.data(), size_t(tabla.size()), nombres.sh_offset))
        return {};
    for (int i = 0; i < e.e_shnum; ++i) {
        Elf64_Shdr s{};
        if (!LeerEn(fd, &s, sizeof s, e.e_shoff + quint64(i) * e.e_shentsize) || s.sh_name >= quint64(tabla.size())
            || std::strcmp(tabla.constData() + s.sh_name, RM640_SECCION_VERSION) != 0)
            continue;
        QByteArray version(qsizetype(std::min<quint64>(s.sh_size, 64)), '\0');
        return LeerEn(fd, version.data(), size_t(version.size()), s.sh_offset)
            ? QString::fromLatin1(version.constData())
            : QString();
    }
    return {};
}

// The library is opened once, judged and checked on that descriptor, and
// mapped from it through /proc/self/fd: a file put in its place after the
// check is never what runs.
QLibrary& Cargar(const QString& ruta)
{
    auto& b = Bibliotecas();
    auto it = b.find(ruta);
    if (it != b.end() && it->second.lib->isLoaded())
        return *it->second.lib;
    ArchivoVerificado archivo = AbrirBiblioteca(ruta);
    auto lib = std::make_unique<QLibrary>(QStringLiteral("/proc/self/fd/%1").arg(archivo.Descriptor()));
    if (!lib->load())
        throw ErrorRm(
            QStringLiteral("No se puede cargar la biblioteca del componente %1: %2").arg(ruta, lib->errorString()), 48);
    QLibrary& r = *lib;
    b[ruta] = Cargada{std::move(lib), std::move(archivo)};
    return r;
}

template <typename Funcion>
Funcion Exportada(const QString& ruta, const char* nombre)
{
    auto f = reinterpret_cast<Funcion>(Cargar(ruta).resolve(nombre));
    if (!f)
        throw ErrorRm(QStringLiteral("La biblioteca %1 no exporta %2.").arg(ruta, QLatin1String(nombre)), 453);
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
    auto obtener = Exportada<FuncionDllGetClassObject>(entrada->biblioteca, "DllGetClassObject");

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
    const std::int32_t hr = Exportada<FuncionDllRegisterServer>(biblioteca, "DllRegisterServer")();
    if (hr == Hresult::S_Ok)
        return;
    // The registry says why it could not be written (a full disk...),
    // which the result code cannot.
    if (const QString motivo = RegistroComponentes::UltimoError(); !motivo.isEmpty())
        throw ErrorRm(motivo);
    throw ErrorRm(QStringLiteral("DllRegisterServer de %1 falló (%2).").arg(biblioteca, Hex(hr)));
}

QString CargadorComponentes::Version(const QString& biblioteca)
{
    return VersionEnArchivo(AbrirBiblioteca(biblioteca).Descriptor());
}

int CargadorComponentes::LiberarBibliotecasSinUso()
{
    int liberadas = 0;
    auto& b = Bibliotecas();
    for (auto it = b.begin(); it != b.end();) {
        QLibrary& lib = *it->second.lib;
        auto puede = reinterpret_cast<FuncionDllCanUnloadNow>(lib.resolve("DllCanUnloadNow"));
        if (!puede || puede() != Hresult::S_Ok) {
            ++it;
            continue;
        }
        lib.unload();
        // The loader may keep it mapped (a library it may not unload); then
        // so does its descriptor.
        if (void* sigue = ::dlopen(QFile::encodeName(lib.fileName()).constData(), RTLD_LAZY | RTLD_NOLOAD)) {
            ::dlclose(sigue);
            Retenidos().push_back(std::move(it->second.archivo));
        }
        it = b.erase(it);
        ++liberadas;
    }
    return liberadas;
}

} // namespace orvinda
