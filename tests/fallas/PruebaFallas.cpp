// Every write path made to fail at each of its steps in turn: the step
// refused by the server, the database gone, a constraint violated. After
// each fault the database holds what it held before, the path reports its
// own message, and the next attempt works.

#include "basedatos/EsquemaBaseDatos.h"
#include "comun/EntornoPrueba.h"
#include "editor/frmConfiguracion.h"
#include "host/controles/txtVEX.h"
#include "host/errores/ErrorRm.h"
#include "host/servicios/TablaClases.h"
#include "publico/Publico.h"
#include "review/frmAutorizacion.h"
#include "review/frmRechazar.h"
#include "servicios/ServidorPaginas.h"
#include "servicios/UtileriasOrvinda.h"

#include <QRegularExpression>
#include <QSqlQuery>

using orvinda::ErrorRm;

namespace {

enum class Falla { Rechazada, BaseCaida, Restriccion };
const char* const NombreFalla[] = {"sentencia rechazada", "base de datos perdida", "restricción violada"};

// An INSERT or UPDATE step, and the table it writes.
const QRegularExpression Escritura("^\\s*(INSERT\\s+INTO|UPDATE)\\s+(\\w+)", QRegularExpression::CaseInsensitiveOption);

class PruebaFallas : public EntornoPrueba
{
protected:
    void SetUp() override
    {
        EntornoPrueba::SetUp();
        CargarDemo();
        orvinda::ServidorPaginas::Instalar();
        g.parametros["GEN_URL"] = "orvinda://web";
        g.parametros["CAT_AUTOCLAVE"] = false;
        // The shell's own utilities, so that dates, keys and comments go
        // through the connection like everything else.
        orvinda::Conexion* c = conexion.get();
        orvinda::TablaClases::Registrar(QString::fromLatin1(orvinda::Utilerias::IdPrograma),
                                        [c] { return std::make_unique<orvinda::UtileriasOrvinda>(*c, "PRUEBA"); });
        rm640::Publico::Main();
    }

    // Every table, and the triggers, as text.
    QStringList Foto(const QStringList& excepto = {})
    {
        // A lost session comes back on the next use: the shell goes on.
        EXPECT_NO_THROW(conexion->Execute("SELECT 1"));
        QStringList foto;
        for (const QString& t : orvinda::EsquemaBaseDatos::NombresTablas())
            if (!excepto.contains(t))
                foto << t << Contenido(t, "1, 2");
        foto << Contenido("sqlite_master", "1, 2");
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
            case Falla::Rechazada: throw ErrorRm("El servidor rechazó la sentencia");
            case Falla::BaseCaida: conexion->Perder(); throw ErrorRm("La conexión con la base de datos está cerrada.");
            case Falla::Restriccion: {
                // A real violation: the statement itself runs and the database refuses it.
                const QString tabla = Escritura.match(paso).captured(2);
                const QString cuando = paso.trimmed().startsWith(QLatin1String("UPDATE"), Qt::CaseInsensitive) ? "UPDATE" : "INSERT";
                QSqlQuery q(conexion->BaseDatos());
                if (!q.exec(QStringLiteral("CREATE TRIGGER restriccion_prueba BEFORE %1 ON %2 BEGIN SELECT RAISE(ABORT, 'restricción violada'); END")
                                .arg(cuando, tabla)))
                    throw ErrorRm("no se pudo crear el disparador: " + tabla);
                break;
            }
            }
        });
    }

    // Runs the path once per step, failing that step, until an attempt goes
    // through: first every step refused, then every step with the database
    // gone, then every write with a constraint violated. preparar(falla,
    // intento) readies a fresh attempt; esperado(k, pasos) is the id the
    // path reports for step k; posterior checks a fault after the commit.
    // Returns the number of faults made.
    int Recorrer(const char* camino, const std::function<void(Falla, int)>& preparar, const std::function<void()>& accion,
                 const std::function<QString(int, const QStringList&)>& esperado, const std::function<void()>& posterior = nullptr)
    {
        int fallas = 0;
        QList<int> escrituras;
        for (Falla falla : {Falla::Rechazada, Falla::BaseCaida, Falla::Restriccion}) {
            for (int intento = 0;; ++intento) {
                if (intento == 64) {
                    ADD_FAILURE() << camino << ": never went through";
                    break;
                }
                const int k = falla != Falla::Restriccion ? intento : escrituras.value(intento, -1);
                preparar(falla, intento);
                const QStringList antes = Foto();
                g.mensajes.clear();
                bool disparada = false;
                QStringList pasos;
                Armar(falla, k, disparada, pasos);
                accion();
                conexion->AntesDeCadaPaso(nullptr);
                // A trigger made outside a transaction (after a commit) is the
                // test's own and goes again.
                if (falla == Falla::Restriccion) {
                    Foto();
                    QSqlQuery(conexion->BaseDatos()).exec("DROP TRIGGER IF EXISTS restriccion_prueba");
                }
                const std::string contexto = std::string(camino) + ", " + NombreFalla[int(falla)] + ", paso " + std::to_string(k) + ": "
                    + (pasos.isEmpty() ? std::string() : pasos.last().left(80).toStdString());
                if (!disparada) {
                    EXPECT_TRUE(falla == Falla::Restriccion ? k == -1 : intento > 0) << contexto;
                    for (int i = 0; falla == Falla::Rechazada && i < pasos.size(); ++i)
                        if (Escritura.match(pasos[i]).hasMatch())
                            escrituras << i;
                    EXPECT_FALSE(escrituras.isEmpty()) << camino;
                    break;
                }
                ++fallas;
                EXPECT_TRUE(g.mensajes.size() == 1 && !conexion->EnTransaccion()) << contexto;
                EXPECT_EQ(g.mensajes.value(0).idError, esperado(k, pasos)) << contexto << " " << g.mensajes.value(0).mensaje.toStdString();
                const int commit = pasos.indexOf("CommitTrans");
                if (posterior && commit >= 0 && commit < k)
                    posterior();
                else
                    EXPECT_EQ(Foto(), antes) << contexto;
            }
        }
        return fallas;
    }

    // Steps up to BeginTrans, inside the transaction, after the commit.
    static QString SegunPaso(int k, const QStringList& pasos, const char* antes, const char* dentro, const char* despues)
    {
        const int inicio = pasos.indexOf("BeginTrans");
        const int fin = pasos.indexOf("CommitTrans");
        if (inicio < 0 || k < inicio)
            return QString::fromLatin1(antes);
        if (fin < 0 || k <= fin)
            return QString::fromLatin1(dentro);
        return QString::fromLatin1(despues);
    }
};

} // namespace

TEST_F(PruebaFallas, AutorizacionYRechazo)
{
    const QStringList folios = Contenido("(SELECT Rq_Folio FROM Requisiciones_Compra WHERE Rq_Estado = 'PE')", "1");
    int siguiente = 0;
    QString folio;
    QStringList restoAntes;
    // Only the document's row, its comment and the decision's row in the log change, whatever the fault.
    const QStringList documento = {"Requisiciones_Compra", "Comentarios_Documento", "Bitacora_Decisiones", "Bitacora_Cabeza"};
    const auto siguienteFolio = [&] {
        folio = folios.value(siguiente++);
        restoAntes = Foto(documento);
    };
    const auto comprobar = [&](const char* estado) {
        EXPECT_EQ(Foto(documento), restoAntes);
        EXPECT_EQ(Valor(QStringLiteral("SELECT Rq_Estado FROM Requisiciones_Compra WHERE Rq_Folio = '%1'").arg(folio)), estado);
    };

    int fallas = Recorrer(
        "autorización",
        [&](Falla, int) {
            siguienteFolio();
            // A comment, so that the shell's comment is written inside the transaction.
            EXPECT_TRUE(EscribirCampo(MostrarRequisicionDemo(folio).WebBrowser1(), "COMENTARIO_DOCUMENTO", "Revisado"));
            conexion->LimpiarBitacora();
        },
        [&] { rm640::frmAutorizacion::Instancia().CmdAutorizado_Click(); },
        [&](int k, const QStringList& p) {
            // The log's row goes after the statement: a failure there is the dialog's own.
            const int anotacion = p.indexOf(QRegularExpression("SELECT Bc_Ultimo_Id.*")), fin = p.indexOf("CommitTrans");
            if (anotacion >= 0 && k >= anotacion && (fin < 0 || k < fin))
                return QStringLiteral("ERR-ID:7500050");
            return SegunPaso(k, p, "ERR-ID:7500050", "ERR-ID:7500028", "ERR-ID:7500051");
        },
        [&] { comprobar("AU"); });
    comprobar("AU");
    rm640::frmAutorizacion::Unload();

    fallas += Recorrer(
        "rechazo",
        [&](Falla, int) {
            siguienteFolio();
            MostrarRechazo("REQUISICIONES_COMPRA", folio, "0001", "Sin presupuesto");
        },
        [&] { rm640::frmRechazar::Instancia().cmdAceptar_Click(); },
        [&](int k, const QStringList& p) {
            // The comment and the log's row go in the rejection's transaction, after its statement: a failure there is the dialog's own.
            const int sentencia = p.indexOf(QRegularExpression("UPDATE Requisiciones_Compra.*", QRegularExpression::DotMatchesEverythingOption)),
                      fin = p.indexOf("CommitTrans");
            if (sentencia >= 0 && k > sentencia && (fin < 0 || k < fin))
                return QStringLiteral("ERR-ID:7500008");
            return SegunPaso(k, p, "ERR-ID:7500008", "ERR-ID:7500009", "ERR-ID:7500008");
        },
        [&] { comprobar("RE"); });
    comprobar("RE");
    EXPECT_TRUE(rm640::frmRechazar::Instancia().Procesado());
    EXPECT_EQ(Valor(QStringLiteral("SELECT Cd_Comentario FROM Comentarios_Documento WHERE Cd_Folio = '%1'").arg(folio)), "Sin presupuesto");
    // Every step of both paths was made to fail: a step that no longer runs shows here
    // (the log's three steps, two of them writes, count in each path).
    EXPECT_EQ(fallas, 52);
}

TEST_F(PruebaFallas, GuardarEliminarYReactivarConfiguraciones)
{
    rm640::frmConfiguracion& editor = rm640::frmConfiguracion::Instancia();
    editor.Cargar();
    bool pendiente = false;
    int fallas = Recorrer(
        "guardar",
        [&](Falla, int) {
            // A refused save keeps everything typed: the next attempt saves it as it is.
            if (pendiente)
                return;
            pendiente = true;
            CapturarConfiguracionNueva(editor);
        },
        [&] {
            bool esNuevo = true;
            editor.Controles_Guardar(esNuevo);
            pendiente = !editor.Guardado;
            editor.Guardado = false;
        },
        [](int, const QStringList&) { return "ERR-ID:7500020"; });
    EXPECT_EQ(Valor("SELECT COUNT(*) FROM Configuracion_Autorizacion WHERE Ca_Etiqueta = 'Anticipos'"), "3");

    // Each fault on a configuration of its own.
    const struct
    {
        const char* camino;
        void (rm640::frmConfiguracion::*accion)();
        const char* id;
        const char *despues, *cuantas;
    } caminos[] = {
        {"eliminar", &rm640::frmConfiguracion::Controles_Eliminar, "ERR-ID:7500021", "Es_Cve_Estado = 'BA'", "4"},
        {"reactivar", &rm640::frmConfiguracion::Controles_Reactivar, "ERR-ID:7500022", "Es_Cve_Estado = 'AC' AND Fecha_Baja IS NULL AND Oper_Baja = ''", "3"},
    };
    for (const auto& c : caminos) {
        fallas += Recorrer(
            c.camino,
            [&](Falla f, int) {
                editor.txtClave().setHabilitado(true);
                editor.txtClave().setTexto(QStringLiteral("000%1").arg(int(f) + 1));
                editor.txtClave_Enter();
            },
            [&] { (editor.*c.accion)(); }, [&](int, const QStringList&) { return QString::fromLatin1(c.id); });
        EXPECT_EQ(Valor(QStringLiteral("SELECT COUNT(*) FROM Configuracion_Autorizacion WHERE %1").arg(c.despues)), c.cuantas);
    }
    EXPECT_EQ(fallas, 33);
}
