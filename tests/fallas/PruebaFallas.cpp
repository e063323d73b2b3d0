// Every write path made to fail at each of its steps in turn: the step
// refused by the server, the database gone, a constraint violated. After
// each fault the database holds what it held before, the path reports its
// own message, and the next attempt works.

#include "basedatos/EsquemaBaseDatos.h"
#include "comun/EntornoPrueba.h"
#include "comun/SistemaGrabador.h"
#include "config/ConfiguracionAutorizacion.h"
#include "config/Marcadores.h"
#include "editor/frmConfiguracion.h"
#include "host/controles/RichTextBox.h"
#include "host/controles/WebBrowser.h"
#include "host/controles/txtVEX.h"
#include "host/datos/ErrorRm.h"
#include "host/servicios/TablaClases.h"
#include "review/frmAutorizacion.h"
#include "review/frmRechazar.h"
#include "servicios/UtileriasOrvinda.h"
#include "shell/Publico.h"
#include "shell/ServidorPaginas.h"

#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QtTest/QTest>

using orvinda::ErrorRm;

namespace {

enum class Falla { Rechazada, BaseCaida, Restriccion };

const char* Nombre(Falla f)
{
    switch (f) {
    case Falla::Rechazada: return "sentencia rechazada";
    case Falla::BaseCaida: return "base de datos perdida";
    default: return "restricción violada";
    }
}

bool EsEscritura(const QString& paso)
{
    static const QRegularExpression e(QStringLiteral("^\\s*(INSERT\\s+INTO|UPDATE)\\s+(\\w+)"), QRegularExpression::CaseInsensitiveOption);
    return e.match(paso).hasMatch();
}

QString TablaEscrita(const QString& paso)
{
    static const QRegularExpression e(QStringLiteral("^\\s*(INSERT\\s+INTO|UPDATE)\\s+(\\w+)"), QRegularExpression::CaseInsensitiveOption);
    return e.match(paso).captured(2);
}

class PruebaFallas : public EntornoPrueba
{
protected:
    void SetUp() override
    {
        EntornoPrueba::SetUp();
        CargarDemo();
        orvinda::ServidorPaginas::Instalar();
        g.parametros[QStringLiteral("GEN_URL")] = QStringLiteral("orvinda://web");
        g.parametros[QStringLiteral("CAT_AUTOCLAVE")] = false;
        // The shell's own utilities, so that dates, keys and comments go
        // through the connection like everything else.
        orvinda::Conexion* c = conexion.get();
        orvinda::TablaClases::Registrar(QString::fromLatin1(orvinda::Utilerias::IdPrograma),
                                        [c] { return std::make_unique<orvinda::UtileriasOrvinda>(*c, QStringLiteral("PRUEBA")); });
        rm640::Publico::Main();
    }

    void TearDown() override
    {
        conexion->AntesDeCadaPaso(nullptr);
        rm640::frmRechazar::Unload();
        rm640::frmAutorizacion::Unload();
        if (rm640::frmConfiguracion::ExisteInstancia())
            delete &rm640::frmConfiguracion::Instancia();
        EntornoPrueba::TearDown();
    }

    // Every table, and the triggers, as text.
    QStringList Foto(const QStringList& excepto = {})
    {
        // A lost session comes back on the next use: the shell goes on.
        EXPECT_NO_THROW(conexion->Execute(QStringLiteral("SELECT 1")));
        QStringList foto;
        for (const QString& t : orvinda::EsquemaBaseDatos::NombresTablas())
            if (!excepto.contains(t))
                foto << t << Contenido(t, QStringLiteral("1, 2"));
        foto << Contenido(QStringLiteral("sqlite_master"), QStringLiteral("1, 2"));
        return foto;
    }

    // Fails step k of whatever runs next, in the way asked. Returns whether it fired.
    void Armar(Falla falla, int k, bool& disparada, QStringList& pasos)
    {
        disparada = false;
        pasos.clear();
        conexion->AntesDeCadaPaso([this, falla, k, &disparada, &pasos](const QString& paso) {
            pasos.append(paso);
            if (pasos.size() - 1 != k)
                return;
            disparada = true;
            switch (falla) {
            case Falla::Rechazada:
                throw ErrorRm(QStringLiteral("El servidor rechazó la sentencia"));
            case Falla::BaseCaida:
                conexion->Perder();
                throw ErrorRm(QStringLiteral("La conexión con la base de datos está cerrada."));
            case Falla::Restriccion: {
                // A real violation: the statement itself runs and the database refuses it.
                const QString tabla = TablaEscrita(paso);
                const QString cuando = paso.trimmed().startsWith(QLatin1String("UPDATE"), Qt::CaseInsensitive) ? "UPDATE" : "INSERT";
                QSqlQuery q(conexion->BaseDatos());
                if (!q.exec(QStringLiteral("CREATE TRIGGER restriccion_prueba BEFORE %1 ON %2 BEGIN SELECT RAISE(ABORT, 'restricción violada'); END")
                                .arg(cuando, tabla)))
                    throw ErrorRm(QStringLiteral("no se pudo crear el disparador: ") + tabla);
                break;
            }
            }
        });
    }

    struct Resultado
    {
        int fallas = 0;
        QStringList pasos; // the steps of the attempt that went through
    };

    // Runs the path once per step, failing that step, until an attempt goes
    // through. esperado(k, pasos) gives the id the path reports for step k;
    // posterior(k, pasos) says whether step k comes after the path's commit.
    Resultado Recorrer(const char* camino, Falla falla, const std::function<void(int)>& preparar, const std::function<void()>& accion,
                       const std::function<QString(int, const QStringList&)>& esperado,
                       const std::function<void(int)>& comprobarPosterior, const QList<int>& soloPasos = {})
    {
        Resultado r;
        for (int k = 0; k < 64; ++k) {
            const bool aplica = soloPasos.isEmpty() || soloPasos.contains(k);
            preparar(k);
            const QStringList antes = Foto();
            g.mensajes.clear();
            bool disparada = false;
            QStringList pasos;
            Armar(aplica ? falla : Falla::Rechazada, aplica ? k : -1, disparada, pasos);
            accion();
            conexion->AntesDeCadaPaso(nullptr);
            const std::string contexto = std::string(camino) + ", " + Nombre(falla) + ", paso " + std::to_string(k) + ": "
                + (pasos.isEmpty() ? std::string() : pasos.last().left(80).toStdString());
            if (!disparada) {
                r.pasos = pasos;
                EXPECT_FALSE(aplica && soloPasos.isEmpty() && k == 0) << contexto;
                return r;
            }
            ++r.fallas;
            const QString id = esperado(k, pasos);
            EXPECT_EQ(g.mensajes.size(), 1) << contexto;
            EXPECT_EQ(g.mensajes.value(0).idError, id) << contexto << " " << g.mensajes.value(0).mensaje.toStdString();
            EXPECT_FALSE(conexion->EnTransaccion()) << contexto;
            if (comprobarPosterior && pasos.indexOf(QStringLiteral("CommitTrans")) >= 0 && pasos.indexOf(QStringLiteral("CommitTrans")) < k)
                comprobarPosterior(k);
            else
                EXPECT_EQ(Foto(), antes) << contexto;
        }
        ADD_FAILURE() << camino << ": never went through";
        return r;
    }

    // Steps up to BeginTrans, inside the transaction, after the commit.
    static QString SegunPaso(int k, const QStringList& pasos, const char* antes, const char* dentro, const char* despues)
    {
        const int inicio = pasos.indexOf(QStringLiteral("BeginTrans"));
        const int fin = pasos.indexOf(QStringLiteral("CommitTrans"));
        if (inicio < 0 || k < inicio)
            return QString::fromLatin1(antes);
        if (fin < 0 || k <= fin)
            return QString::fromLatin1(dentro);
        return QString::fromLatin1(despues);
    }

    QStringList FoliosPendientes()
    {
        QStringList f;
        QSqlQuery q(conexion->BaseDatos());
        q.exec(QStringLiteral("SELECT Rq_Folio FROM Requisiciones_Compra WHERE Rq_Estado = 'PE' ORDER BY Rq_Folio"));
        while (q.next())
            f << q.value(0).toString();
        return f;
    }

    QString Renderizar(const QString& folio)
    {
        const auto c = rm640::ConfiguracionAutorizacion::Leer(*conexion, QStringLiteral("0001"));
        orvinda::Recordset fila = conexion->Execute(rm640::Marcadores::ExpandirConsulta(c->sqlPlantilla, folio));
        QList<rm640::ColumnaPlantilla> columnas;
        for (int i = 0; i < fila.FieldsCount(); ++i)
            columnas.append({fila.Fields(i).Name(), fila.Fields(i).Texto()});
        return rm640::Marcadores::ExpandirPlantilla(c->plantilla, columnas);
    }

    rm640::frmAutorizacion& Abrir(const QString& folio)
    {
        rm640::frmAutorizacion::Unload();
        rm640::frmAutorizacion& d = rm640::frmAutorizacion::Load();
        d.setPlantilla(Renderizar(folio));
        d.setTabla(QStringLiteral("REQUISICIONES_COMPRA"));
        d.setFolio(folio);
        d.setCampos(QStringLiteral("*MONTO_AUTORIZADO,CUENTA_PRESUPUESTAL,COMENTARIO_DOCUMENTO"));
        d.setClave(QStringLiteral("0001"));
        d.show();
        EXPECT_TRUE(QTest::qWaitFor([&] {
            try {
                return d.WebBrowser1().HtmlCuerpo().contains(folio);
            } catch (const ErrorRm&) {
                return false;
            }
        }, 20000));
        // A comment, so that the shell's comment is written inside the transaction.
        bool listo = false;
        d.WebBrowser1().page()->runJavaScript(QStringLiteral("document.getElementById('COMENTARIO_DOCUMENTO').value = 'Revisado'; 1"),
                                              [&](const QVariant&) { listo = true; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return listo; }, 5000));
        conexion->LimpiarBitacora();
        return d;
    }

    void ComprobarDocumento(const QString& folio, const QString& estado, const QStringList& antes)
    {
        EXPECT_EQ(Foto({QStringLiteral("Requisiciones_Compra"), QStringLiteral("Comentarios_Documento")}), antes);
        EXPECT_EQ(Valor(QStringLiteral("SELECT Rq_Estado FROM Requisiciones_Compra WHERE Rq_Folio = '%1'").arg(folio)), estado);
    }

    int total = 0;
};

} // namespace

TEST_F(PruebaFallas, AutorizacionYRechazo)
{
    const QStringList folios = FoliosPendientes();
    int siguiente = 0;
    QString folio;
    QStringList restoAntes;
    QList<int> escrituras;
    for (Falla falla : {Falla::Rechazada, Falla::BaseCaida, Falla::Restriccion}) {
        const Resultado r = Recorrer(
            "autorización", falla,
            [&](int) {
                folio = folios.value(siguiente++);
                Abrir(folio);
                restoAntes = Foto({QStringLiteral("Requisiciones_Compra"), QStringLiteral("Comentarios_Documento")});
            },
            [&] { rm640::frmAutorizacion::Instancia().CmdAutorizado_Click(); },
            [&](int k, const QStringList& p) { return SegunPaso(k, p, "ERR-ID:7500050", "ERR-ID:7500028", "ERR-ID:7500051"); },
            [&](int) { ComprobarDocumento(folio, QStringLiteral("AU"), restoAntes); }, falla == Falla::Restriccion ? escrituras : QList<int>{});
        total += r.fallas;
        if (falla == Falla::Rechazada)
            for (int i = 0; i < r.pasos.size(); ++i)
                if (EsEscritura(r.pasos[i]))
                    escrituras << i;
        EXPECT_FALSE(escrituras.isEmpty());
        EXPECT_EQ(Valor(QStringLiteral("SELECT Rq_Estado FROM Requisiciones_Compra WHERE Rq_Folio = '%1'").arg(folio)), QStringLiteral("AU"));
    }
    rm640::frmAutorizacion::Unload();

    escrituras.clear();
    for (Falla falla : {Falla::Rechazada, Falla::BaseCaida, Falla::Restriccion}) {
        const Resultado r = Recorrer(
            "rechazo", falla,
            [&](int) {
                folio = folios.value(siguiente++);
                rm640::frmRechazar::Unload();
                rm640::frmRechazar& d = rm640::frmRechazar::Load();
                d.setTabla(QStringLiteral("REQUISICIONES_COMPRA"));
                d.setFolio(folio);
                d.setClave(QStringLiteral("0001"));
                d.txtComentario().setPlainText(QStringLiteral("Sin presupuesto"));
                restoAntes = Foto({QStringLiteral("Requisiciones_Compra"), QStringLiteral("Comentarios_Documento")});
            },
            [&] { rm640::frmRechazar::Instancia().cmdAceptar_Click(); },
            [&](int k, const QStringList& p) { return SegunPaso(k, p, "ERR-ID:7500008", "ERR-ID:7500009", "ERR-ID:7500008"); },
            [&](int) { ComprobarDocumento(folio, QStringLiteral("RE"), restoAntes); }, falla == Falla::Restriccion ? escrituras : QList<int>{});
        total += r.fallas;
        if (falla == Falla::Rechazada)
            for (int i = 0; i < r.pasos.size(); ++i)
                if (EsEscritura(r.pasos[i]))
                    escrituras << i;
        EXPECT_TRUE(rm640::frmRechazar::Instancia().Procesado());
    }
    std::printf("faults tried on authorization and rejection: %d\n", total);
}

TEST_F(PruebaFallas, GuardarEliminarYReactivarConfiguraciones)
{
    rm640::frmConfiguracion& editor = rm640::frmConfiguracion::Instancia();
    editor.Cargar();
    QList<int> escrituras;
    const auto llenar = [&] {
        editor.Controles_Nuevo();
        editor.txtDescripcion().setTexto(QStringLiteral("Autorización de anticipos"));
        editor.txtPestania().setTexto(QStringLiteral("Anticipos"));
        editor.txtTabla().setTexto(QStringLiteral("ANTICIPOS"));
        editor.txtProcedimiento().setText(QStringLiteral("SELECT Folio FROM Anticipos WHERE Estado = 'PE'"));
        editor.txtProcedimiento2().setText(QStringLiteral("UPDATE Anticipos SET Estado = 'AU' WHERE Folio = '{FOLIO}'"));
        editor.txtProcedimiento3().setText(QStringLiteral("SELECT * FROM Anticipos WHERE Folio = '{FOLIO}'"));
        editor.txtProcedimiento4().setText(QStringLiteral("<h1>{FOLIO}</h1>"));
        editor.txtProcedimiento5().setText(QStringLiteral("UPDATE Anticipos SET Estado = 'RE' WHERE Folio = '{FOLIO}'"));
    };
    bool nuevoPendiente = false;
    for (Falla falla : {Falla::Rechazada, Falla::BaseCaida, Falla::Restriccion}) {
        const Resultado r = Recorrer(
            "guardar", falla, [&](int) { if (!nuevoPendiente) { llenar(); nuevoPendiente = true; } },
            [&] {
                bool esNuevo = true;
                editor.Controles_Guardar(esNuevo);
                nuevoPendiente = !editor.Guardado;
                editor.Guardado = false;
            },
            [](int, const QStringList&) { return QStringLiteral("ERR-ID:7500020"); }, nullptr,
            falla == Falla::Restriccion ? escrituras : QList<int>{});
        total += r.fallas;
        if (falla == Falla::Rechazada)
            for (int i = 0; i < r.pasos.size(); ++i)
                if (EsEscritura(r.pasos[i]))
                    escrituras << i;
        // The input survives every refused save.
        EXPECT_FALSE(nuevoPendiente);
    }

    const auto cargar = [&](const QString& clave) {
        editor.txtClave().setHabilitado(true);
        editor.txtClave().setTexto(clave);
        editor.txtClave_Enter();
    };
    QStringList activas = {QStringLiteral("0001"), QStringLiteral("0002"), QStringLiteral("0003")};
    escrituras.clear();
    for (Falla falla : {Falla::Rechazada, Falla::BaseCaida, Falla::Restriccion}) {
        const QString clave = activas.takeFirst();
        const Resultado r = Recorrer(
            "eliminar", falla, [&](int) { cargar(clave); }, [&] { editor.Controles_Eliminar(); },
            [](int, const QStringList&) { return QStringLiteral("ERR-ID:7500021"); }, nullptr,
            falla == Falla::Restriccion ? escrituras : QList<int>{});
        total += r.fallas;
        if (falla == Falla::Rechazada)
            for (int i = 0; i < r.pasos.size(); ++i)
                if (EsEscritura(r.pasos[i]))
                    escrituras << i;
        EXPECT_EQ(Valor(QStringLiteral("SELECT Es_Cve_Estado FROM Configuracion_Autorizacion WHERE Ca_Cve_Configuracion_Autorizacion = '%1'").arg(clave)),
                  QStringLiteral("BA"));
    }

    QStringList borradas = {QStringLiteral("0001"), QStringLiteral("0002"), QStringLiteral("0003")};
    escrituras.clear();
    for (Falla falla : {Falla::Rechazada, Falla::BaseCaida, Falla::Restriccion}) {
        const QString clave = borradas.takeFirst();
        const Resultado r = Recorrer(
            "reactivar", falla, [&](int) { cargar(clave); }, [&] { editor.Controles_Reactivar(); },
            [](int, const QStringList&) { return QStringLiteral("ERR-ID:7500022"); }, nullptr,
            falla == Falla::Restriccion ? escrituras : QList<int>{});
        total += r.fallas;
        if (falla == Falla::Rechazada)
            for (int i = 0; i < r.pasos.size(); ++i)
                if (EsEscritura(r.pasos[i]))
                    escrituras << i;
        EXPECT_EQ(Valor(QStringLiteral("SELECT Fecha_Baja FROM Configuracion_Autorizacion WHERE Ca_Cve_Configuracion_Autorizacion = '%1'").arg(clave)),
                  QStringLiteral("<NULL>"));
    }
    std::printf("faults tried on save, delete and reactivation: %d\n", total);
}
