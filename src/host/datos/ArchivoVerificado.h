#pragma once

#include <QByteArray>
#include <QString>
#include <cerrno>

namespace orvinda {

// A file opened without following a final symbolic link and judged on the
// descriptor that was opened, so that what was checked is what is read,
// written or run. A refused file is left as it was: nothing is written to it
// and its mode stays.
class ArchivoVerificado
{
public:
    // Who may own the file, and what nobody else may do with it.
    enum class Uso {
        Leer, // this user or root; nobody else may write it: what is only read or run
        Escribir, // this user; nobody else may write it
        Secreto, // this user; nobody else may read or write it
    };

    // An existing file, opened with banderas (O_RDONLY, O_WRONLY | O_APPEND;
    // never O_TRUNC, which would act before the file is judged).
    static ArchivoVerificado Abrir(const QString& ruta, int banderas, Uso uso);
    // A new file, 0600 whatever the umask, where nothing was before.
    static ArchivoVerificado Crear(const QString& ruta, int banderas);
    // The existing file, or a new one when there is none.
    static ArchivoVerificado AbrirOCrear(const QString& ruta, int banderas, Uso uso);
    // Writes contenido to a new file beside ruta and renames it over ruta:
    // a reader sees the old text or the new one, never half of it, and a
    // link at ruta is replaced, not followed. Empty when done, else why not.
    static QString Reemplazar(const QString& ruta, const QByteArray& contenido);
    // What an errno means to whoever reads the message.
    static QString MotivoSistema(int numero);

    ArchivoVerificado() = default;
    ArchivoVerificado(ArchivoVerificado&& otro) noexcept;
    ArchivoVerificado& operator=(ArchivoVerificado&& otro) noexcept;
    ArchivoVerificado(const ArchivoVerificado&) = delete;
    ArchivoVerificado& operator=(const ArchivoVerificado&) = delete;
    ~ArchivoVerificado();

    bool Abierto() const { return m_fd >= 0; }
    // Not open because there was no file.
    bool Falta() const { return m_error == ENOENT; }
    // Why it is not open: "es un enlace simbólico", "pertenece a otro usuario (uid 65534)"...
    const QString& Motivo() const { return m_motivo; }
    int Descriptor() const { return m_fd; }

    // The whole file, at most limite bytes; false (with Motivo) when it cannot be read or is larger.
    bool Leer(QByteArray& contenido, qint64 limite);
    // Takes away what group and others may do; the owner's bits stay.
    void Privatizar();
    // Whether ruta, not followed, still names this very file.
    bool EstaEn(const QString& ruta) const;
    // The descriptor is the caller's from now on.
    int Soltar();

private:
    explicit ArchivoVerificado(int fd);
    static ArchivoVerificado Rechazado(int numero, QString motivo = {});

    int m_fd = -1;
    int m_error = 0;
    QString m_motivo;
};

} // namespace orvinda
