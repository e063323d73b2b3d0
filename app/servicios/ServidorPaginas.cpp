#include "servicios/ServidorPaginas.h"

#include <QBuffer>
#include <QUrl>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>

namespace orvinda {

namespace {

// The shell's blue and orange, as the dialogs' buttons use them.
const char* const kHojaEstilo = R"css(
:root { color-scheme: light; }
html { background: #e8ecf0; }
body { margin: 0; padding: 14px; font: 13px/1.45 "Segoe UI", "Noto Sans", "DejaVu Sans", Arial, sans-serif; color: #1f2933; }
.documento { max-width: 920px; margin: 0 auto; background: #fff; border: 1px solid #c5ced6;
  box-shadow: 0 1px 4px rgba(0, 0, 0, .12); padding: 22px 26px; }
/* Filled a moment after it is served: the empty page shows only if nothing fills it. */
.documento.vacio { color: #7b8794; text-align: center; padding: 60px 26px; visibility: hidden; animation: aparece 0s .6s forwards; }
@keyframes aparece { to { visibility: visible; } }
table { border-collapse: collapse; width: 100%; margin: 0 0 14px; }
th, td { padding: 4px 7px; vertical-align: top; text-align: left; }
small { color: #616e7c; }
.encabezado th { width: 15%; color: #52606d; font-weight: 600; background: #f5f7f9; border: 1px solid #dde3e8; }
.encabezado td { border: 1px solid #dde3e8; }
.encabezado td.empresa, .encabezado td.titulo { border: none; border-bottom: 3px solid #00538a; padding: 0 0 10px; }
.encabezado td.empresa strong { font-size: 15px; color: #00538a; }
.encabezado td.titulo { text-align: right; font-size: 17px; font-weight: 700; letter-spacing: .04em; color: #00538a; }
.encabezado tr:nth-child(2) th, .encabezado tr:nth-child(2) td { border-top: none; }
.folio { display: inline-block; margin-top: 4px; font-size: 13px; letter-spacing: 0; color: #1f2933;
  background: #fff3e8; border: 1px solid #ffac75; border-radius: 3px; padding: 1px 8px; }
.partidas thead th { background: #00538a; color: #fff; font-weight: 600; border: 1px solid #00538a; }
.partidas td { border-bottom: 1px solid #e4e8ec; }
.partidas tbody tr:nth-child(even) td { background: #f7f9fb; }
.num { text-align: right; font-variant-numeric: tabular-nums; white-space: nowrap; }
.totales { width: auto; min-width: 42%; margin-left: auto; }
.totales th { text-align: right; color: #52606d; font-weight: 600; padding-right: 14px; }
.totales tr.total th, .totales tr.total td { border-top: 2px solid #00538a; font-weight: 700; color: #00538a; }
.revision { margin-top: 18px; padding: 12px 14px; background: #fffaf3; border: 1px solid #f0d9bf; border-left: 4px solid #ffac75; }
.revision h3 { margin: 0 0 8px; font-size: 14px; color: #00538a; }
.campo { display: flex; align-items: baseline; gap: 10px; margin: 6px 0; }
.campo label { flex: 0 0 220px; color: #3e4c59; font-weight: 600; }
.campo input, .campo textarea, .campo select { flex: 1; font: inherit; padding: 4px 6px; border: 1px solid #9aa5b1;
  border-radius: 3px; background: #fff; color: inherit; }
.campo textarea { resize: vertical; }
.campo input:focus, .campo textarea:focus, .campo select:focus { outline: 2px solid #ffac75; border-color: #ffac75; }
.campo.obligatorio input, .campo.obligatorio textarea { background: #fffdf0; border-color: #00538a; }
.firmas { border-collapse: separate; border-spacing: 28px 0; margin-top: 56px; }
.firmas td { width: 33%; text-align: center; border-top: 1px solid #52606d; padding-top: 6px; color: #3e4c59; }
.nota { font-size: 11px; color: #52606d; border-top: 1px dashed #c5ced6; padding-top: 6px; margin-top: 18px; }
@media screen and (max-width: 720px) {
  body { padding: 6px; font-size: 12px; }
  .documento { padding: 12px 12px; }
  .encabezado th { width: auto; }
  .partidas th, .partidas td { padding: 3px 4px; }
  .campo label { flex-basis: 190px; }
}
@page { size: letter; margin: 14mm; }
@media print {
  html { background: #fff; }
  body { padding: 0; }
  .documento { border: none; box-shadow: none; max-width: none; padding: 0; }
  .revision { display: none; }
  .partidas thead { display: table-header-group; }
  tr { break-inside: avoid; }
}
)css";

} // namespace

ServidorPaginas::ServidorPaginas(QObject* parent)
    : QWebEngineUrlSchemeHandler(parent)
{
}

ServidorPaginas* ServidorPaginas::Instalar(QWebEngineProfile* perfil)
{
    if (!perfil)
        perfil = QWebEngineProfile::defaultProfile();
    const QByteArray esquema(Esquema);
    if (auto* instalado
        = qobject_cast<ServidorPaginas*>(const_cast<QWebEngineUrlSchemeHandler*>(perfil->urlSchemeHandler(esquema))))
        return instalado;
    auto* servidor = new ServidorPaginas(perfil);
    perfil->installUrlSchemeHandler(esquema, servidor);
    return servidor;
}

QString ServidorPaginas::HojaEstilo()
{
    return QString::fromUtf8(kHojaEstilo);
}

QByteArray ServidorPaginas::PaginaEditor()
{
    static const QByteArray pagina
        = QStringLiteral("<!DOCTYPE html>\n"
                         "<html lang=\"es\">\n"
                         "<head>\n"
                         "<meta charset=\"utf-8\">\n"
                         "%2"
                         "<title>Documento en revisión</title>\n"
                         "<style>%1</style>\n"
                         "</head>\n"
                         "<body><div class=\"documento vacio\">Sin documento que mostrar.</div></body>\n"
                         "</html>\n")
              .arg(HojaEstilo(), PaginaSegura::MetaPolitica())
              .toUtf8();
    return pagina;
}

void ServidorPaginas::requestStarted(QWebEngineUrlRequestJob* solicitud)
{
    if (solicitud->requestMethod() != QByteArrayLiteral("GET")) {
        solicitud->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    // Paths are matched as the shell's old web server did: ignoring case.
    if (solicitud->requestUrl().path().compare(QLatin1String(RutaEditor), Qt::CaseInsensitive) != 0) {
        solicitud->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    auto* cuerpo = new QBuffer(solicitud);
    cuerpo->setData(PaginaEditor());
    cuerpo->open(QIODevice::ReadOnly);
    ++m_servidas;
    solicitud->reply(QByteArrayLiteral("text/html"), cuerpo);
}

} // namespace orvinda
