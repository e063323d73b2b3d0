// The decision log: one row per decision, written in the decision's own
// transaction or not at all, chained so that any later change shows, kept by
// the server from the operators' hands, printed again when the shell died
// before printing, and looked back at from the inbox. On the tests' SQLite
// file and on their PostgreSQL.

#include "basedatos/ActualizacionEsquema.h"
#include "comun/EntornoPrueba.h"
#include "comun/ImpresorGrabador.h"
#include "comun/ServidorPostgres.h"
#include "comun/SistemaGrabador.h"
#include "host/bitacora/EscrituraBitacora.h"
#include "host/bitacora/RegistroBitacora.h"
#include "host/bitacora/VerificacionBitacora.h"
#include "host/controles/ListView.h"
#include "host/controles/WebBrowser.h"
#include "host/datos/Transaccion.h"
#include "host/errores/ErrorRm.h"
#include "host/servicios/TablaClases.h"
#include "inbox/ExportacionCsv.h"
#include "inbox/frmHistorial.h"
#include "inbox/frmRM640.h"
#include "publico/Publico.h"
#include "review/ReimpresionPendiente.h"
#include "review/RevisionDocumento.h"
#include "review/frmAutorizacion.h"
#include "review/frmRechazar.h"
#include "servicios/ServidorPaginas.h"
#include "servicios/UtileriasOrvinda.h"
#include "shell/IdentidadOperador.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTest>
#include <thread>

using namespace rm640;
using orvinda::RegistroBitacora;
using orvinda::VerificacionBitacora;

namespace {

// A value as the log's hash reads it: NULL is empty text, whatever type the driver gives it.
QString Texto(const QVariant& v)
{
    return v.isNull() ? QString() : v.toString();
}

const QString Requisiciones = "REQUISICIONES_COMPRA";
const QString CamposRequisicion = "*MONTO_AUTORIZADO,CUENTA_PRESUPUESTAL,COMENTARIO_DOCUMENTO";

class PruebaBitacora : public EntornoPrueba, public ::testing::WithParamInterface<bool>
{
protected:
    void SetUp() override
    {
        if (GetParam()) {
            if (!Servidor().Activo())
                GTEST_SKIP() << Servidor().Motivo().toStdString();
            static int bases = 0;
            const QString nombre = QStringLiteral("bitacora_%1").arg(++bases);
            ASSERT_TRUE(Servidor().CrearBaseDatos(nombre));
            cadena = Servidor().CadenaOdbc(nombre);
        }
        EntornoPrueba::SetUp();
        orvinda::ServidorPaginas::Instalar();
        orvinda::TablaClases::Registrar(QString::fromLatin1(orvinda::Impresor::IdPrograma),
                                        [this] { return std::make_unique<ImpresorGrabador>(impresiones, vivos, QString()); });
        // The shell's own utilities, so that comments are rows of the database too.
        orvinda::Conexion* c = conexion.get();
        orvinda::TablaClases::Registrar(QString::fromLatin1(orvinda::Utilerias::IdPrograma),
                                        [c] { return std::make_unique<orvinda::UtileriasOrvinda>(*c, "PRUEBA"); });
        g.parametros["GEN_URL"] = "orvinda://web";
        CargarDemo();
        Publico::Main();
        QSqlQuery q(conexion->BaseDatos());
        q.exec("SELECT Rq_Folio FROM Requisiciones_Compra WHERE Rq_Estado = 'PE' ORDER BY Rq_Folio");
        while (q.next())
            pendientes << q.value(0).toString();
    }
    QString DestinoBaseDatos() override { return GetParam() ? cadena : EntornoPrueba::DestinoBaseDatos(); }
    static ServidorPostgres& Servidor()
    {
        static ServidorPostgres servidor;
        return servidor;
    }

    // The log's rows, each "decision|origen|clave|tabla|folio|operador|filas|comentario|referencia|resultado".
    QStringList Filas()
    {
        QStringList filas;
        QSqlQuery q(conexion->BaseDatos());
        q.exec("SELECT Bd_Decision, Bd_Origen, Bd_Clave, Bd_Tabla, Bd_Folio, Bd_Operador, Bd_Filas, Bd_Comentario,"
               " Bd_Referencia, Bd_Resultado FROM Bitacora_Decisiones ORDER BY Bd_Id");
        while (q.next()) {
            QStringList f;
            for (int i = 0; i < 10; ++i)
                f << Texto(q.value(i));
            filas << f.join(u'|');
        }
        return filas;
    }

    RevisionDocumento::Autorizacion Autorizar(const QString& clave, const QString& tabla, const QString& folio, const QString& campos,
                                              const std::function<QString(const QString&)>& valor)
    {
        // What the dialog's own trap would report lands in avisos too.
        try {
            return RevisionDocumento::Autorizar([this](const QString& m, int, const QString&, const QString& id) { avisos << id + "|" + m; }, clave, tabla,
                                                folio, campos, valor);
        } catch (const orvinda::ErrorRm& e) {
            avisos << e.Descripcion();
        }
        return {};
    }
    RevisionDocumento::Autorizacion AutorizarRequisicion(const QString& folio, const QString& monto = "10")
    {
        return Autorizar("0001", Requisiciones, folio, CamposRequisicion, [monto](const QString& campo) {
            return campo == "MONTO_AUTORIZADO" ? monto : campo == "COMENTARIO_DOCUMENTO" ? QStringLiteral("Con nota") : QString();
        });
    }

    // A row written as the review road writes one, in a transaction of its own.
    void Anotar(const QString& folio)
    {
        orvinda::Transaccion t(*conexion);
        RegistroBitacora r;
        r.operador = "PRUEBA";
        r.decision = RegistroBitacora::Autorizacion;
        r.folio = folio;
        r.origen = "DIALOGO";
        orvinda::EscrituraBitacora::Anotar(*conexion, r);
        t.Confirmar();
    }
    QString HashDe(int id) { return Valor(QStringLiteral("SELECT Bd_Hash FROM Bitacora_Decisiones WHERE Bd_Id = %1").arg(id)); }

    // The shell run as an administrator runs it: exit code and output.
    std::pair<int, QString> Orvinda(const QStringList& argumentos)
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QCoreApplication::applicationDirPath() + "/orvinda", argumentos);
        EXPECT_TRUE(p.waitForFinished(120000));
        return {p.exitCode(), QString::fromUtf8(p.readAll())};
    }

    QString cadena;
    QStringList pendientes, impresiones, avisos;
    int vivos = 0;
};

INSTANTIATE_TEST_SUITE_P(Bases, PruebaBitacora, ::testing::Values(false, true), [](const auto& i) { return i.param ? "PostgreSQL" : "SQLite"; });

} // namespace

TEST_P(PruebaBitacora, DialogoLoteYRechazoDejanCadaUnoSuFilaYLaCadenaSeVerifica)
{
    ASSERT_GE(pendientes.size(), 3);
    frmAutorizacion& d = MostrarRequisicionDemo(pendientes[0]);
    ASSERT_TRUE(EscribirCampo(d.WebBrowser1(), "MONTO_AUTORIZADO", "1500.00") && EscribirCampo(d.WebBrowser1(), "COMENTARIO_DOCUMENTO", "Visto bueno"));
    const QString cuenta = d.WebBrowser1().ValorElemento("CUENTA_PRESUPUESTAL");
    d.CmdAutorizado_Click();
    EXPECT_EQ(Lote("0001", {pendientes[1]}).autorizados.size(), 1);
    // The rejection keeps the page's values too; a field the page lacks is recorded unread and stops nothing.
    frmAutorizacion& r = MostrarRequisicionDemo(pendientes[2]);
    ASSERT_TRUE(EscribirCampo(r.WebBrowser1(), "MONTO_AUTORIZADO", "0") && EscribirCampo(r.WebBrowser1(), "COMENTARIO_DOCUMENTO", "Sin presupuesto"));
    const QString cuentaRechazo = r.WebBrowser1().ValorElemento("CUENTA_PRESUPUESTAL");
    r.setCampos(CamposRequisicion + ",NO_ESTA");
    AlAbrirse<frmRechazar>([](frmRechazar& f) { f.cmdAceptar_Click(); });
    r.CmdRechazar_Click();
    ASSERT_TRUE(g.mensajes.isEmpty()) << g.Avisos().join('\n').toStdString();

    const QString fila = "%1|%2|0001|REQUISICIONES_COMPRA|%3|PRUEBA|1|%4||";
    EXPECT_EQ(Filas(),
              (QStringList{fila.arg("AU", "DIALOGO", pendientes[0], "Visto bueno"), fila.arg("AU", "LOTE", pendientes[1], ""),
                           fila.arg("RE", "DIALOGO", pendientes[2], "Sin presupuesto")}));

    // The page's values in the field list's order, the statement that ran,
    // the server's time, the session's account and this machine.
    const QString valores = R"([{"campo":"MONTO_AUTORIZADO","valor":"%1"},{"campo":"CUENTA_PRESUPUESTAL","valor":"%2"},)"
                            R"({"campo":"COMENTARIO_DOCUMENTO","valor":"%3"}])";
    const QString enOrden = R"(^\[\{"campo":"MONTO_AUTORIZADO","valor":"[^"]+"\},\{"campo":"CUENTA_PRESUPUESTAL",.*"COMENTARIO_DOCUMENTO","valor":""\}\]$)";
    QSqlQuery q(conexion->BaseDatos());
    q.exec("SELECT Bd_Valores, Bd_Sentencia, Bd_Fecha, Bd_Cuenta, Bd_Maquina FROM Bitacora_Decisiones ORDER BY Bd_Id");
    const QString sesion = GetParam() ? "rm640" : orvinda::IdentidadOperador::CuentaSistema();
    for (const QString& patron :
         {"^" + QRegularExpression::escape(valores.arg("1500.00", cuenta, "Visto bueno")) + "$", enOrden,
          "^" + QRegularExpression::escape(valores.arg("0", cuentaRechazo, "Sin presupuesto").chopped(1) + R"(,{"campo":"NO_ESTA","valor":null}])") + "$"}) {
        ASSERT_TRUE(q.next());
        EXPECT_TRUE(QRegularExpression(patron).match(q.value(0).toString()).hasMatch()) << q.value(0).toString().toStdString();
        EXPECT_TRUE(conexion->Bitacora().contains(q.value(1).toString())) << q.value(1).toString().toStdString();
        EXPECT_TRUE(QRegularExpression("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}$").match(q.value(2).toString()).hasMatch());
        EXPECT_EQ(q.value(3).toString() + "|" + q.value(4).toString(), sesion + "|" + QSysInfo::machineHostName());
    }
    const VerificacionBitacora::Resultado v = VerificacionBitacora::Verificar(*conexion, HashDe(1));
    EXPECT_TRUE(v.Integra() && v.filas == 3 && v.cabeza == HashDe(3)) << v.Informe().toStdString();
    EXPECT_EQ(v.Informe(), "Bitácora íntegra: 3 filas; la cabeza " + HashDe(1).left(12) + " sigue en la cadena (fila 1); cabeza " + HashDe(3));
}

// Whatever undoes a decision undoes its row: the statement over the row limit,
// a value refused for where it stands, the session lost while the row is
// written (after the comment was), the comment that cannot be stored.
TEST_P(PruebaBitacora, UnaDecisionDeshechaNoDejaFilaNiComentario)
{
    const QString original = Valor("SELECT Ca_Sql_Autoriazion FROM Configuracion_Autorizacion WHERE Ca_Cve_Configuracion_Autorizacion = '0001'");
    const auto configurar = [&](const QString& sentencia) {
        Ejecutar("UPDATE Configuracion_Autorizacion SET Ca_Sql_Autoriazion = '" + QString(sentencia).replace("'", "''")
                 + "' WHERE Ca_Cve_Configuracion_Autorizacion = '0001'");
    };
    const auto perderAlAnotar = [&] {
        conexion->AntesDeCadaPaso([&](const QString& paso) {
            if (paso.startsWith("INSERT INTO Bitacora_Decisiones")) {
                conexion->Perder();
                throw orvinda::ErrorRm("La conexión con la base de datos está cerrada.", 0, orvinda::ErrorRm::Causa::ConexionPerdida);
            }
        });
    };
    const struct
    {
        const char* caso;
        bool rechazo;
        std::function<void()> armar;
        QString monto;
    } casos[] = {
        {"filas de más", false, [&] { configurar("UPDATE Requisiciones_Compra SET Rq_Cuenta_Presupuestal = '{CUENTA_PRESUPUESTAL}'"); }, "10"},
        {"valor rehusado", false, [&] { configurar("UPDATE Requisiciones_Compra SET Rq_Monto_Autorizado = {MONTO_AUTORIZADO} WHERE Rq_Folio = '{FOLIO}'"); },
         "1 OR 1 = 1"},
        {"sesión perdida al anotar la autorización", false, perderAlAnotar, "10"},
        {"sesión perdida al anotar el rechazo", true, perderAlAnotar, ""},
        {"comentario que no se guarda", true, [&] { Ejecutar("ALTER TABLE Comentarios_Documento RENAME TO Comentarios_Aparte"); }, ""},
    };
    int i = 0;
    for (const auto& c : casos) {
        const QString folio = pendientes.value(i++);
        const QStringList antes = TodoElContenido();
        c.armar();
        avisos.clear();
        g.mensajes.clear();
        if (c.rechazo)
            MostrarRechazo(Requisiciones, folio, "0001", "No procede").cmdAceptar_Click();
        else
            EXPECT_FALSE(AutorizarRequisicion(folio, c.monto).ejecutada) << c.caso;
        conexion->AntesDeCadaPaso(nullptr);
        conexion->Execute("SELECT 1"); // a lost session comes back
        EXPECT_EQ(avisos.size() + g.mensajes.size(), 1) << c.caso;
        configurar(original);
        if (QString(c.caso).startsWith("comentario"))
            Ejecutar("ALTER TABLE Comentarios_Aparte RENAME TO Comentarios_Documento");
        EXPECT_EQ(TodoElContenido(), antes) << c.caso;
    }
    // And the next decision goes through, with its row.
    EXPECT_TRUE(AutorizarRequisicion(pendientes.value(i)).ejecutada && Filas().size() == 1);
}

// Each tampering is named at the row where the chain first breaks; a
// rewrite that recomputed every later hash is caught by a head recorded
// before it.
TEST_P(PruebaBitacora, LaCadenaNombraLaPrimeraFilaAlterada)
{
    const auto resellar = [&] {
        QSqlQuery q(conexion->BaseDatos());
        q.exec("SELECT " + RegistroBitacora::Columnas().join(", ") + " FROM Bitacora_Decisiones ORDER BY Bd_Id");
        QString anterior = RegistroBitacora::HashInicial;
        QList<QVariantList> sellos;
        while (q.next()) {
            QStringList textos;
            for (int c = 0; c < RegistroBitacora::Columnas().size(); ++c)
                textos << Texto(q.value(c));
            const QString hash = RegistroBitacora::Sellar(anterior, textos);
            sellos.append({anterior, hash, q.value(0)});
            anterior = hash;
        }
        for (const QVariantList& s : sellos)
            conexion->Execute("UPDATE Bitacora_Decisiones SET Bd_Hash_Anterior = ?, Bd_Hash = ? WHERE Bd_Id = ?", s);
        conexion->Execute("UPDATE Bitacora_Cabeza SET Bc_Ultimo_Id = ?, Bc_Hash = ?", {sellos.last()[2], anterior});
    };
    const struct
    {
        const char* caso;
        std::function<void()> alterar;
        qint64 fila;
        const char* motivo;
        bool conCabezaAnterior = false;
    } casos[] = {
        {"un campo cambiado", [&] { Ejecutar("UPDATE Bitacora_Decisiones SET Bd_Folio = 'F-9' WHERE Bd_Id = 3"); }, 3, "se cambió después de escrita"},
        {"una fila borrada", [&] { Ejecutar("DELETE FROM Bitacora_Decisiones WHERE Bd_Id = 3"); }, 4, "falta la fila 3"},
        {"una fila insertada en medio",
         [&] {
             Ejecutar("UPDATE Bitacora_Decisiones SET Bd_Id = Bd_Id + 100 WHERE Bd_Id >= 3");
             Ejecutar("UPDATE Bitacora_Decisiones SET Bd_Id = Bd_Id - 99 WHERE Bd_Id > 100");
             RegistroBitacora falsa;
             falsa.id = 3;
             falsa.fecha = "2026-12-06T10:30:00.000";
             falsa.operador = "PRUEBA";
             falsa.decision = "AU";
             falsa.origen = "DIALOGO";
             falsa.hashAnterior = HashDe(2);
             const QString hash = RegistroBitacora::Sellar(falsa.hashAnterior, falsa.Textos());
             conexion->Execute("INSERT INTO Bitacora_Decisiones (Bd_Id, Bd_Fecha, Bd_Operador, Bd_Decision, Bd_Origen, Bd_Hash_Anterior, Bd_Hash)"
                               " VALUES (3, ?, 'PRUEBA', 'AU', 'DIALOGO', ?, ?)",
                               {falsa.fecha, falsa.hashAnterior, hash});
         },
         4, "no es el Bd_Hash de la fila 3"},
        {"la última fila borrada", [&] { Ejecutar("DELETE FROM Bitacora_Decisiones WHERE Bd_Id = 5"); }, 5, "la cabeza (Bitacora_Cabeza) dice"},
        {"la historia reescrita y resellada",
         [&] {
             Ejecutar("UPDATE Bitacora_Decisiones SET Bd_Folio = 'F-9' WHERE Bd_Id = 2");
             resellar();
         },
         0, "ya no está en la cadena", true},
    };
    for (const auto& c : casos) {
        Ejecutar("DELETE FROM Bitacora_Decisiones");
        Ejecutar("UPDATE Bitacora_Cabeza SET Bc_Ultimo_Id = 0, Bc_Hash = '" + RegistroBitacora::HashInicial + "'");
        for (int i = 1; i <= 5; ++i)
            Anotar(QStringLiteral("F-%1").arg(i));
        const QString cabeza = HashDe(3);
        EXPECT_TRUE(VerificacionBitacora::Verificar(*conexion, cabeza).Integra()) << c.caso;
        c.alterar();
        const VerificacionBitacora::Resultado r = VerificacionBitacora::Verificar(*conexion, c.conCabezaAnterior ? cabeza : QString());
        EXPECT_EQ(r.filaRota, c.fila) << c.caso;
        EXPECT_TRUE(r.motivo.contains(c.motivo)) << c.caso << ": " << r.motivo.toStdString();
        // A resealed chain holds together on its own.
        EXPECT_EQ(VerificacionBitacora::Verificar(*conexion).Integra(), c.conCabezaAnterior) << c.caso;
    }
}

TEST_P(PruebaBitacora, VariasSesionesALaVezDejanUnaSolaCadena)
{
    constexpr int sesiones = 4, filas = 15;
    const QString destino = DestinoBaseDatos();
    std::atomic<int> escritas{0};
    std::vector<std::thread> hilos;
    for (int s = 0; s < sesiones; ++s)
        hilos.emplace_back([&, s] {
            try {
                const auto propia = orvinda::Conexion::Abrir(destino);
                for (int i = 0; i < filas; ++i) {
                    orvinda::Transaccion t(*propia);
                    RegistroBitacora r;
                    r.operador = QStringLiteral("S%1").arg(s);
                    r.decision = RegistroBitacora::Autorizacion;
                    r.origen = "LOTE";
                    orvinda::EscrituraBitacora::Anotar(*propia, r);
                    t.Confirmar();
                    ++escritas;
                }
            } catch (const std::exception& e) {
                ADD_FAILURE() << e.what();
            }
        });
    for (std::thread& h : hilos)
        h.join();
    const VerificacionBitacora::Resultado r = VerificacionBitacora::Verificar(*conexion);
    EXPECT_TRUE(escritas == sesiones * filas && r.Integra() && r.filas == sesiones * filas) << r.Informe().toStdString();
}

// A database of an earlier version, without the log nor Op_Cuenta: the
// shell starts and says what decisions need, nothing is decided (a rejection
// not even asked for its comment), and --actualizar-esquema adds it, once.
TEST_P(PruebaBitacora, SinLaBitacoraNadaSeDecideHastaQueSeAgrega)
{
    const QString destino = DestinoBaseDatos(), traza = carpeta.filePath("traza.txt");
    Ejecutar("DROP TABLE Bitacora_Decisiones");
    Ejecutar("DROP TABLE Bitacora_Cabeza");
    Ejecutar("ALTER TABLE Operadores DROP COLUMN Op_Cuenta");
    const auto [arranque, salida] = Orvinda({"--db", destino, "--captura", carpeta.filePath("bandeja.png"), "--traza", traza});
    EXPECT_EQ(arranque, 0) << salida.toStdString();
    EXPECT_TRUE(LeerArchivo(traza).contains("MSG ERR-ID:9900009 estilo=48 titulo=\"Orvinda\" modulo=ORVINDA texto=\""
                                            + orvinda::EscrituraBitacora::SinBitacora("orvinda --actualizar-esquema --db \"" + destino + "\"")))
        << LeerArchivo(traza).toStdString();
    const auto rehusadas = [&](const QString& falta) {
        const QStringList antes = TodoElContenido();
        avisos.clear();
        g.mensajes.clear();
        EXPECT_FALSE(AutorizarRequisicion(pendientes[0]).ejecutada);
        AlAbrirse<frmRechazar>([](frmRechazar&) { ADD_FAILURE() << "se pidió el comentario"; });
        MostrarRequisicionDemo(pendientes[1]).CmdRechazar_Click();
        EXPECT_FALSE(frmRechazar::ExisteInstancia());
        EXPECT_EQ(TodoElContenido(), antes);
        EXPECT_EQ(avisos + g.Avisos(), (QStringList{falta, "ERR-ID:7500052|16|CmdRechazar_Click()|frmAutorizacion|" + falta}));
    };
    rehusadas(orvinda::EscrituraBitacora::SinBitacora());

    const auto [primera, dicho] = Orvinda({"--actualizar-esquema", "--db", destino});
    EXPECT_EQ(primera, 0);
    EXPECT_TRUE(dicho.contains("Se creó la tabla Bitacora_Decisiones.\nSe creó la tabla Bitacora_Cabeza.\nSe agregó la columna Operadores.Op_Cuenta"))
        << dicho.toStdString();
    // The log without Op_Cuenta is not enough either (a read first, so that
    // SQLite sees the schema the other process changed).
    Valor("SELECT COUNT(*) FROM Operadores");
    Ejecutar("ALTER TABLE Operadores DROP COLUMN Op_Cuenta");
    rehusadas(orvinda::EscrituraBitacora::Falta(*conexion));
    EXPECT_TRUE(orvinda::EscrituraBitacora::Falta(*conexion).contains("Op_Cuenta"));
    QSqlDatabase db = conexion->BaseDatos();
    EXPECT_FALSE(orvinda::ActualizacionEsquema::Actualizar(db).isEmpty());
    const QStringList actualizada = TodoElContenido();
    const auto [segunda, nada] = Orvinda({"--actualizar-esquema", "--db", destino});
    EXPECT_TRUE(segunda == 0 && nada.contains("ya está al día: no se cambió nada.")) << nada.toStdString();
    EXPECT_EQ(TodoElContenido(), actualizada);

    // Decisions go through again; the shell checks the chain without a display.
    EXPECT_TRUE(AutorizarRequisicion(pendientes[0]).ejecutada);
    const auto [integra, informe] = Orvinda({"--verificar-bitacora", "--db", destino, "--desde", HashDe(1)});
    EXPECT_TRUE(integra == 0
                && informe.trimmed() == "Bitácora íntegra: 1 filas; la cabeza " + HashDe(1).left(12) + " sigue en la cadena (fila 1); cabeza " + HashDe(1))
        << informe.toStdString();
    Ejecutar("UPDATE Bitacora_Decisiones SET Bd_Comentario = 'Otro'");
    const auto [alterada, motivo] = Orvinda({"--verificar-bitacora", "--db", destino});
    EXPECT_TRUE(alterada == 3 && motivo.startsWith("Bitácora alterada en la fila Bd_Id 1:")) << motivo.toStdString();
}

TEST_P(PruebaBitacora, ElOperadorAnotaPeroNoCambiaNiBorraLaBitacora)
{
    if (!GetParam())
        GTEST_SKIP() << "los permisos son del servidor";
    // The grants script as the administrator applies it, statement by statement.
    QString guion = LeerArchivo(RM640_FUENTES "/sql/orvinda_permisos_postgresql.sql");
    guion.remove(QRegularExpression("^(--|\\\\).*$", QRegularExpression::MultilineOption)); // comments and psql's own commands
    QString sentencia;
    for (const QString& trozo : guion.split(QRegularExpression(";\\s*\\n"))) {
        sentencia += trozo;
        if (sentencia.count("$$") % 2 == 0 && !sentencia.trimmed().isEmpty()) {
            Ejecutar(sentencia);
            sentencia.clear();
        } else if (!sentencia.trimmed().isEmpty()) {
            sentencia += ";\n";
        }
    }
    const QString login = "operador_" + Valor("SELECT current_database()");
    for (const char* s :
         {"CREATE ROLE {L} LOGIN IN ROLE orvinda_operadores", "GRANT SELECT ON ALL TABLES IN SCHEMA public TO orvinda_operadores",
          "GRANT SELECT, UPDATE ON Requisiciones_Compra TO orvinda_operadores", "UPDATE Operadores SET Op_Cuenta = '{L}' WHERE Op_Cve_Operador = 'CAPTURA'"})
        Ejecutar(QString(s).replace("{L}", login));

    const auto operador = orvinda::Conexion::Abrir(QString(cadena).replace("UID=rm640", "UID=" + login));
    Publico::Terminar();
    orvinda::Conexion* c = operador.get();
    orvinda::TablaClases::Registrar(QString::fromLatin1(orvinda::Sistema::IdPrograma), [this, c] { return std::make_unique<SistemaGrabador>(g, *c); });
    orvinda::TablaClases::Registrar(QString::fromLatin1(orvinda::Utilerias::IdPrograma),
                                    [c] { return std::make_unique<orvinda::UtileriasOrvinda>(*c, "CAPTURA"); });
    Publico::Main();
    EXPECT_TRUE(AutorizarRequisicion(pendientes[0]).ejecutada) << avisos.join('\n').toStdString();
    frmRechazar& rechazo = MostrarRechazo(Requisiciones, pendientes[1], "0001", "No procede");
    rechazo.cmdAceptar_Click();
    EXPECT_TRUE(rechazo.Procesado()) << g.Avisos().join('\n').toStdString();
    const char* enNombreDeOtro = "INSERT INTO Bitacora_Decisiones (Bd_Id, Bd_Fecha, Bd_Operador, Bd_Cuenta, Bd_Decision, Bd_Origen, Bd_Hash_Anterior, Bd_Hash)"
                                 " VALUES (99, 'x', 'ADMIN', 'rm640', 'AU', 'DIALOGO', '-', '-')";
    for (auto [s, error] : {std::pair{"UPDATE Bitacora_Decisiones SET Bd_Comentario = 'Otro'", "permission denied"}, {"DELETE FROM Bitacora_Decisiones", "permission denied"},
                            {"UPDATE Bitacora_Cabeza SET Bc_Clave = 2", "permission denied"}, {enNombreDeOtro, "no es la cuenta de la sesión"}})
        EXPECT_TRUE(DescripcionDe([&] { operador->Execute(s); }).contains(QString::fromUtf8(error))) << s;
    Publico::Terminar();
    EXPECT_EQ(Valor("SELECT COUNT(*) FROM Bitacora_Decisiones WHERE Bd_Cuenta = '" + login + "'"), "2");
    EXPECT_TRUE(VerificacionBitacora::Verificar(*conexion).Integra());
}

// Killed between the commit and the printing: the next start prints it,
// once, and records it; what printed before is left alone.
TEST_P(PruebaBitacora, UnaAutorizacionQueNoSeImprimioSeImprimeAlIniciarUnaVez)
{
    QStringList ordenes;
    QSqlQuery q(conexion->BaseDatos());
    q.exec("SELECT Oc_Folio FROM Ordenes_Compra WHERE Oc_Estado = 'PE' ORDER BY Oc_Folio");
    while (q.next())
        ordenes << q.value(0).toString();
    ASSERT_GE(ordenes.size(), 2);
    const auto autorizar = [&](const QString& folio) {
        return Autorizar("0002", "ORDENES_COMPRA", folio, "*PARTIDA_PRESUPUESTAL,CONDICIONES_PAGO,COMENTARIO_DOCUMENTO",
                         [](const QString& campo) { return campo == "PARTIDA_PRESUPUESTAL" ? QStringLiteral("5100-01") : QString(); });
    };
    const auto impresa = autorizar(ordenes[0]);
    RevisionDocumento::Concluir([](const QString&, int, const QString&, const QString&) {}, impresa, "0002", ordenes[0]);
    const auto perdida = autorizar(ordenes[1]);
    ASSERT_TRUE(impresa.ejecutada && perdida.ejecutada) << avisos.join('\n').toStdString();

    frmRM640& bandeja = frmRM640::Instancia();
    bandeja.show();
    Activar(bandeja);
    EXPECT_TRUE(QTest::qWaitFor([&] { return impresiones.size() == 2; }, 10000));
    bandeja.Refrescar();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !bandeja.Refrescando(); }, 10000));
    EXPECT_EQ(ReimpresionPendiente::Reanudar(), 0);
    EXPECT_EQ(impresiones, (QStringList{"OC_AUTORIZADA|" + ordenes[0] + "||0|0|", "OC_AUTORIZADA|" + ordenes[1] + "||0|0|"}));
    const QString im = "IM|%1|0002|ORDENES_COMPRA|%2|PRUEBA|||%3|%2.pdf";
    EXPECT_EQ(
        Filas().mid(1, 1) + Filas().mid(3),
        (QStringList{im.arg("DIALOGO", ordenes[0]).arg(impresa.impresion.referencia), im.arg("REIMPRESION", ordenes[1]).arg(perdida.impresion.referencia)}));
    EXPECT_TRUE(VerificacionBitacora::Verificar(*conexion).Integra());
}

// The look back, on rows whose texts a spreadsheet or a list could get wrong.
TEST_P(PruebaBitacora, ElHistorialFiltraOrdenaMuestraYExporta)
{
    const struct
    {
        int id;
        const char *fecha, *operador, *decision;
        QString folio;
        const char* origen;
        QString comentario;
        QVariant referencia;
        QString resultado;
    } filas[] = {
        {1, "2026-12-05T09:00:00.000", "PRUEBA", "AU", "F-1, \"uno\"", "DIALOGO", "Línea 1\r\nLínea 2", QVariant(QMetaType::fromType<int>()), ""},
        {2, "2026-12-04T10:00:00.000", "PRUEBA", "RE", "=SUMA(A1)", "LOTE", QStringLiteral("in\uFEFFicio"), QVariant(QMetaType::fromType<int>()), ""},
        {3, "2026-12-06T08:00:00.000", "OTRO", "AU", "F-3", "LOTE", "Ñandú, café", QVariant(QMetaType::fromType<int>()), ""},
        {4, "2026-10-01T08:00:00.000", "PRUEBA", "AU", "F-4", "DIALOGO", "vieja", QVariant(QMetaType::fromType<int>()), ""},
        {5, "2026-12-05T09:00:01.000", "PRUEBA", "IM", "F-1, \"uno\"", "DIALOGO", "", 1, "/tmp/F-1.pdf"},
    };
    for (const auto& f : filas)
        conexion->Execute("INSERT INTO Bitacora_Decisiones (Bd_Id, Bd_Fecha, Bd_Operador, Bd_Clave, Bd_Decision, Bd_Folio, Bd_Origen, Bd_Comentario,"
                          " Bd_Valores, Bd_Sentencia, Bd_Filas, Bd_Referencia, Bd_Resultado, Bd_Hash_Anterior, Bd_Hash)"
                          " VALUES (?, ?, ?, '0001', ?, ?, ?, ?, '[{\"campo\":\"MONTO\",\"valor\":\"7\"}]', 'UPDATE X', 1, ?, ?, '-', '-')",
                          {f.id, f.fecha, f.operador, f.decision, f.folio, f.origen, f.comentario, f.referencia, f.resultado});
    const auto ver = [](const orvinda::ListView& l) {
        QStringList r;
        for (int i = 0; i < l.ListItemsCount(); ++i)
            r << l.ListItemText(i, 0);
        return r.join(',');
    };

    // Ctrl+H: this operator's decisions of the last 30 days, newest first.
    frmRM640& bandeja = frmRM640::Instancia();
    bandeja.show();
    Activar(bandeja);
    QTest::keyClick(&bandeja, Qt::Key_H, Qt::ControlModifier);
    ASSERT_TRUE(bandeja.Historial());
    frmHistorial& h = *bandeja.Historial();
    EXPECT_EQ(EsperarLista(h.lvDecisiones()), "");
    EXPECT_TRUE(ver(h.lvDecisiones()) == "2,1" && !h.chkTodos().isEnabled() && !h.dtDesde().isEnabled()) << ver(h.lvDecisiones()).toStdString();
    EXPECT_EQ(h.lblCuenta().text(), "2 decisiones");
    h.lvDecisiones().setSelectedIndex(1);
    for (const char* visto :
         {"Autorizada el 2026-12-05 09:00:00.000 por PRUEBA", "  MONTO: 7", "Sentencia (1 fila):\nUPDATE X", "Comentario:\nLínea 1", "archivo: /tmp/F-1.pdf"})
        EXPECT_TRUE(h.txtDetalle().toPlainText().contains(QString::fromUtf8(visto))) << visto << h.txtDetalle().toPlainText().toStdString();
    h.txtFiltro().setText("linea");
    EXPECT_TRUE(ver(h.lvDecisiones()) == "1" && h.lblCuenta().text() == "1 de 2 decisiones");
    // Escape clears the filter first, as in the inbox, and closes only then.
    QTest::keyClick(&h.txtFiltro(), Qt::Key_Escape);
    EXPECT_TRUE(h.isVisible() && h.txtFiltro().text().isEmpty() && ver(h.lvDecisiones()) == "2,1");
    h.lvDecisiones().OrdenarPor(0, Qt::AscendingOrder);

    // Exported as shown: in the list's order, quoted where a spreadsheet needs it.
    const QString csv = carpeta.filePath("historial.csv");
    h.Exportar(csv);
    QFile exportado(csv);
    ASSERT_TRUE(exportado.open(QIODevice::ReadOnly));
    EXPECT_EQ(exportado.readAll(),
              QByteArray("\xEF\xBB\xBFId,Fecha,Operador,Decisión,Configuración,Folio,Origen,Comentario,Impresión\r\n"
                         "1,2026-12-05 09:00:00,PRUEBA,Autorizada,0001,\"F-1, \"\"uno\"\"\",Diálogo,\"Línea 1\r\nLínea 2\","
                         "/tmp/F-1.pdf\r\n"
                         "2,2026-12-04 10:00:00,PRUEBA,Rechazada,0001,'=SUMA(A1),En lote,in\xEF\xBB\xBF"
                         "icio,\r\n"));
    h.close();

    // From level 5: anyone's, and any period.
    g.nivel = 5;
    bandeja.AbrirHistorial();
    ASSERT_TRUE(bandeja.Historial() && bandeja.Historial() != &h);
    frmHistorial& todo = *bandeja.Historial();
    EsperarLista(todo.lvDecisiones());
    todo.chkTodos().setChecked(true);
    EsperarLista(todo.lvDecisiones());
    EXPECT_EQ(ver(todo.lvDecisiones()), "3,2,1");
    todo.dtDesde().setDate(QDate(2026, 9, 1));
    EsperarLista(todo.lvDecisiones());
    EXPECT_EQ(ver(todo.lvDecisiones()), "4,3,2,1");
    todo.dtDesde().setDate(QDate(2026, 12, 6));
    EsperarLista(todo.lvDecisiones());
    EXPECT_EQ(ver(todo.lvDecisiones()) + " " + todo.lblCuenta().text(), QString("3 1 decisión"));
    QTest::keyClick(&todo.txtFiltro(), Qt::Key_Escape);
    EXPECT_FALSE(todo.isVisible());
}

TEST(ExportacionCsv, CadaCampoSeCitaSoloCuandoHaceFalta)
{
    const struct
    {
        QString campo;
        const char* escrito;
    } casos[] = {
        {"simple", "simple"},
        {"a,b", "\"a,b\""},
        {"dijo \"sí\"", "\"dijo \"\"sí\"\"\""},
        {"uno\r\ndos", "\"uno\r\ndos\""},
        {"=1+1", "'=1+1"},
        {"-5", "'-5"},
        {"@x,y", "\"'@x,y\""},
        {QStringLiteral("\uFEFFmarca"),
         "\xEF\xBB\xBF"
         "marca"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(ExportacionCsv::Texto({"Título"}, {{c.campo}}), QByteArray("\xEF\xBB\xBFTítulo\r\n") + QByteArray(c.escrito) + "\r\n") << c.escrito;
}
