#include "basedatos/DatosDemo.h"

#include "basedatos/EsquemaBaseDatos.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <array>
#include <cstring>
#include <span>
#include <stdexcept>
#include <vector>

namespace orvinda {

namespace {

constexpr quint32 kSemilla = 640;

// Money is handled in centavos so that subtotal + IVA adds up exactly.
using Centavos = qint64;

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

QString Pesos(Centavos c)
{
    const bool negativo = c < 0;
    if (negativo)
        c = -c;
    QString enteros = QString::number(c / 100);
    for (int i = enteros.size() - 3; i > 0; i -= 3)
        enteros.insert(i, QLatin1Char(','));
    return (negativo ? QStringLiteral("-") : QString()) + enteros + QLatin1Char('.')
        + QStringLiteral("%1").arg(c % 100, 2, 10, QLatin1Char('0'));
}

QVariant Monto(Centavos c) { return QVariant(double(c) / 100.0); }
Centavos Iva(Centavos subtotal) { return (subtotal * 16 + 50) / 100; }

QString TextoFecha(const QDate& d) { return d.toString(Qt::ISODate); }
QString TextoFechaHora(const QDateTime& dt) { return dt.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")); }

QString Celda(const QString& texto, bool numerica = false)
{
    return (numerica ? QStringLiteral("<td class=\"num\">") : QStringLiteral("<td>")) + texto.toHtmlEscaped()
        + QStringLiteral("</td>");
}

// ---------------------------------------------------------------- catalogs

struct Departamento { const char* clave; const char* nombre; const char* centroCosto; const char* categorias; };
struct Empleado { const char* clave; const char* nombre; const char* puesto; const char* departamento; const char* ingreso; };
struct Proveedor { const char* clave; const char* rfc; const char* razon; const char* domicilio; int diasCredito; const char* categorias; };
struct Articulo { const char* clave; const char* descripcion; const char* unidad; Centavos precio; char categoria; };
struct Operador { const char* clave; const char* nombre; int nivel; };

constexpr const char* kEmpresa = "Manufacturas Regiomontanas del Norte, S.A. de C.V.";
constexpr const char* kRfcEmpresa = "MRN0803147K2";

constexpr std::array<Operador, 6> kOperadores{{
    {"ADMIN", "Administrador del sistema", 4},
    {"CAPTURA", "Luis Fernando Rocha Medina", 3},
    {"GCOMPRAS", "Mariana Ortega Ruiz", 4},
    {"DFINANZAS", "Patricia Elizondo Cantú", 5},
    {"RHUMANOS", "Daniela Treviño Salinas", 4},
    {"CONSULTA", "Usuario de consulta", 1},
}};

// Letters of `categorias` pick the articles a department asks for or a
// supplier sells: P stationery, C computing, L cleaning, M maintenance,
// S safety equipment, R production supplies, O office furniture.
constexpr std::array<Departamento, 11> kDepartamentos{{
    {"DIR", "Dirección General", "CC-100", "PO"},
    {"ADM", "Administración y Finanzas", "CC-110", "PCO"},
    {"CMP", "Compras", "CC-120", "PO"},
    {"ALM", "Almacén", "CC-130", "PLSR"},
    {"SIS", "Sistemas", "CC-140", "CP"},
    {"RH", "Recursos Humanos", "CC-150", "POS"},
    {"PRD", "Producción", "CC-200", "RSM"},
    {"MTO", "Mantenimiento", "CC-210", "MSR"},
    {"CAL", "Calidad", "CC-220", "SRP"},
    {"VTA", "Ventas", "CC-300", "PCO"},
    {"LOG", "Logística", "CC-310", "RSP"},
}};

constexpr std::array<Empleado, 24> kEmpleados{{
    {"E001", "Ricardo Garza Montemayor", "Director General", "DIR", "2008-03-10"},
    {"E002", "Patricia Elizondo Cantú", "Gerente de Administración y Finanzas", "ADM", "2011-06-01"},
    {"E003", "Héctor Salazar Villarreal", "Contador General", "ADM", "2015-02-16"},
    {"E004", "Mariana Ortega Ruiz", "Gerente de Compras", "CMP", "2013-09-02"},
    {"E005", "Luis Fernando Rocha Medina", "Comprador", "CMP", "2019-01-14"},
    {"E006", "Karla Yesenia Benavides Leal", "Compradora", "CMP", "2021-07-05"},
    {"E007", "José Guadalupe Treviño Garza", "Jefe de Almacén", "ALM", "2012-04-23"},
    {"E008", "Brenda Alejandra Ríos Cavazos", "Auxiliar de Almacén", "ALM", "2022-03-28"},
    {"E009", "Jesús Armando Cárdenas Flores", "Gerente de Producción", "PRD", "2010-11-08"},
    {"E010", "Sergio Iván Martínez Zamora", "Supervisor de Producción, turno 1", "PRD", "2016-05-09"},
    {"E011", "Ana Lucía Hinojosa Peña", "Supervisora de Producción, turno 2", "PRD", "2018-08-20"},
    {"E012", "Raúl Eduardo Chapa Rodríguez", "Jefe de Mantenimiento", "MTO", "2014-01-13"},
    {"E013", "Omar Alejandro Guerra Saldaña", "Técnico Electromecánico", "MTO", "2020-10-19"},
    {"E014", "Claudia Verónica Sepúlveda Lozano", "Gerente de Calidad", "CAL", "2012-07-02"},
    {"E015", "Diego Armando Villanueva Cruz", "Inspector de Calidad", "CAL", "2023-02-06"},
    {"E016", "Fernando Javier Quiroga Tamez", "Jefe de Sistemas", "SIS", "2014-09-15"},
    {"E017", "Valeria Montserrat Garza Elizondo", "Analista de Soporte", "SIS", "2021-11-22"},
    {"E018", "Daniela Treviño Salinas", "Gerente de Recursos Humanos", "RH", "2016-03-01"},
    {"E019", "Gabriela Ivonne Zapata Morales", "Analista de Nómina", "RH", "2019-06-17"},
    {"E020", "Alejandro Martín de León Garza", "Gerente de Ventas", "VTA", "2011-01-10"},
    {"E021", "Rodrigo Emilio Castillo Vega", "Ejecutivo de Cuenta, Bajío", "VTA", "2017-04-03"},
    {"E022", "María Fernanda Leal Ibarra", "Ejecutiva de Cuenta, Occidente", "VTA", "2020-02-10"},
    {"E023", "Jorge Luis Estrada Pineda", "Jefe de Logística", "LOG", "2013-05-20"},
    {"E024", "Arturo Daniel Mendoza Salinas", "Coordinador de Tráfico", "LOG", "2018-12-03"},
}};

// Indexes into kEmpleados: buyers sign the orders, travellers file expenses.
constexpr std::array<int, 3> kCompradores{3, 4, 5};
constexpr std::array<int, 12> kViajeros{0, 2, 4, 8, 12, 13, 14, 15, 19, 20, 21, 22};

constexpr std::array<Proveedor, 12> kProveedores{{
    {"PRV-001", "PSB9705218H3", "Papelería y Suministros del Bajío, S.A. de C.V.",
     "Av. Constitución 1450 Pte., Centro, Monterrey, N.L.", 30, "PO"},
    {"PRV-002", "TCN1102149Q1", "Tecnología y Cómputo del Norte, S.A. de C.V.",
     "Av. Lázaro Cárdenas 2400, Valle Oriente, San Pedro Garza García, N.L.", 30, "C"},
    {"PRV-003", "LIR0309253A7", "Limpieza Industrial Regiomontana, S.A. de C.V.",
     "Calle Industrias 118, Parque Industrial Escobedo, Gral. Escobedo, N.L.", 15, "L"},
    {"PRV-004", "RMA8906304K9", "Rodamientos y Maquinaria Apodaca, S.A. de C.V.",
     "Carr. Miguel Alemán km 21, Apodaca, N.L.", 30, "M"},
    {"PRV-005", "SIN1207117R5", "Seguridad Industrial Norteña, S.A. de C.V.",
     "Av. Ruiz Cortines 3300, Mitras Norte, Monterrey, N.L.", 30, "S"},
    {"PRV-006", "AMO9912015B2", "Aceros y Metales de Occidente, S.A. de C.V.",
     "Calle 26 No. 2590, Zona Industrial, Guadalajara, Jal.", 45, "R"},
    {"PRV-007", "FTS0506138N4", "Ferretería y Tornillería Santa Catarina, S.A. de C.V.",
     "Blvd. Díaz Ordaz 905, Santa Catarina, N.L.", 0, "RM"},
    {"PRV-008", "EMT1408223W6", "Eléctrica y Motores Treviño, S.A. de C.V.",
     "Av. Félix U. Gómez 1210, Obrera, Monterrey, N.L.", 30, "M"},
    {"PRV-009", "MOE1610037J8", "Mobiliario de Oficina Ejecutiva, S.A. de C.V.",
     "Av. Gonzalitos 415 Nte., Vista Hermosa, Monterrey, N.L.", 15, "O"},
    {"PRV-010", "EIM0111299C3", "Empaques Industriales de México, S.A. de C.V.",
     "Av. Industrial 77, Ciénega de Flores, N.L.", 30, "RP"},
    {"PRV-011", "SRT1803194D8", "Soluciones en Redes y Telecomunicaciones, S.C.",
     "Río Orinoco 201, Del Valle, San Pedro Garza García, N.L.", 30, "C"},
    {"PRV-012", "CHG0907281F6", "Comercializadora de Herramientas del Golfo, S.A. de C.V.",
     "Av. Universidad 1800, Anáhuac, San Nicolás de los Garza, N.L.", 30, "MRS"},
}};

constexpr std::array<Articulo, 42> kArticulos{{
    {"PAP-001", "Papel bond carta 75 g, caja con 10 paquetes", "CAJA", 89000, 'P'},
    {"PAP-002", "Papel bond oficio 75 g, caja con 10 paquetes", "CAJA", 99000, 'P'},
    {"PAP-003", "Folder manila tamaño carta, paquete con 100", "PAQ", 18500, 'P'},
    {"PAP-004", "Bolígrafo punto mediano azul, caja con 12", "CAJA", 6800, 'P'},
    {"PAP-005", "Carpeta de argollas 2 pulgadas, blanca", "PZA", 7250, 'P'},
    {"PAP-006", "Etiqueta para código de barras, rollo con 1000", "ROLLO", 24500, 'P'},
    {"PAP-007", "Cinta canela para embalaje 48 mm x 150 m", "PZA", 3890, 'P'},
    {"COM-001", "Laptop 14 pulgadas, 16 GB RAM, 512 GB SSD", "PZA", 1895000, 'C'},
    {"COM-002", "Monitor LED 24 pulgadas", "PZA", 315000, 'C'},
    {"COM-003", "Teclado y mouse inalámbricos", "JGO", 54900, 'C'},
    {"COM-004", "Tóner láser negro de alto rendimiento", "PZA", 189000, 'C'},
    {"COM-005", "Disco duro externo 2 TB", "PZA", 148000, 'C'},
    {"COM-006", "Switch administrable 24 puertos", "PZA", 689000, 'C'},
    {"COM-007", "Cable UTP categoría 6, bobina de 305 m", "BOB", 289000, 'C'},
    {"COM-008", "No-break 1500 VA", "PZA", 349000, 'C'},
    {"LIM-001", "Papel higiénico institucional, caja con 12 rollos", "CAJA", 54000, 'L'},
    {"LIM-002", "Jabón líquido para manos, garrafa de 20 L", "GARR", 62000, 'L'},
    {"LIM-003", "Desengrasante industrial biodegradable, garrafa de 20 L", "GARR", 98000, 'L'},
    {"LIM-004", "Bolsa para basura negra 90 x 120, paquete con 50", "PAQ", 21000, 'L'},
    {"LIM-005", "Trapeador de microfibra con bastón", "PZA", 14500, 'L'},
    {"MAN-001", "Rodamiento de bolas 6205-2RS", "PZA", 9800, 'M'},
    {"MAN-002", "Banda en V perfil B-52", "PZA", 18900, 'M'},
    {"MAN-003", "Aceite hidráulico ISO 68, cubeta de 19 L", "CUB", 165000, 'M'},
    {"MAN-004", "Grasa multipropósito EP-2, cartucho de 400 g", "PZA", 8900, 'M'},
    {"MAN-005", "Contactor trifásico 25 A, bobina 220 V", "PZA", 86500, 'M'},
    {"MAN-006", "Lámpara LED industrial 150 W", "PZA", 238000, 'M'},
    {"MAN-007", "Pintura epóxica gris para piso, cubeta de 19 L", "CUB", 395000, 'M'},
    {"SEG-001", "Guante de nitrilo resistente al corte, par", "PAR", 6400, 'S'},
    {"SEG-002", "Lentes de seguridad transparentes antiempaño", "PZA", 4850, 'S'},
    {"SEG-003", "Casco de seguridad tipo I clase E", "PZA", 16500, 'S'},
    {"SEG-004", "Botas de seguridad con casquillo, par", "PAR", 129000, 'S'},
    {"SEG-005", "Tapones auditivos desechables, caja con 200 pares", "CAJA", 78000, 'S'},
    {"SEG-006", "Extintor PQS de 6 kg", "PZA", 115000, 'S'},
    {"PRO-001", "Lámina de acero rolado en frío cal. 18, 4 x 8 pies", "HOJA", 142000, 'R'},
    {"PRO-002", "Tornillo hexagonal 3/8 x 1 pulgada grado 5, caja con 100", "CAJA", 31500, 'R'},
    {"PRO-003", "Microalambre para soldar ER70S-6 0.035, carrete de 15 kg", "CARR", 118000, 'R'},
    {"PRO-004", "Disco de corte para metal 4 1/2 pulgadas", "PZA", 2750, 'R'},
    {"PRO-005", "Tarima de madera 1.20 x 1.00 m", "PZA", 21000, 'R'},
    {"PRO-006", "Película estirable para emplaye 18 pulgadas", "ROLLO", 26500, 'R'},
    {"MOB-001", "Silla ejecutiva ergonómica con brazos", "PZA", 289000, 'O'},
    {"MOB-002", "Escritorio en L de 1.50 m", "PZA", 425000, 'O'},
    {"MOB-003", "Archivero metálico de 4 gavetas", "PZA", 368000, 'O'},
}};

constexpr std::array<const char*, 12> kJustificaciones{
    "Reposición de inventario mínimo del área.",
    "Consumo mensual programado.",
    "Sustitución de material dañado durante la operación.",
    "Arranque de la línea de ensamble 3.",
    "Mantenimiento preventivo programado de equipos.",
    "Cumplimiento de la auditoría de seguridad e higiene.",
    "Alta de personal de nuevo ingreso.",
    "Renovación de equipo con más de cinco años de uso.",
    "Atención de pedido especial de cliente.",
    "Preparación del inventario físico semestral.",
    "Acondicionamiento de la nueva área de embarques.",
    "Solicitud derivada del programa anual de mejora continua.",
};

constexpr std::array<const char*, 4> kLugaresEntrega{
    "Almacén general, Planta Apodaca",
    "Planta Santa Catarina, andén 2",
    "Oficinas corporativas, Monterrey",
    "Centro de distribución Escobedo",
};

constexpr std::array<const char*, 10> kDestinos{
    "Guadalajara, Jal.", "Ciudad de México", "Querétaro, Qro.", "Saltillo, Coah.",
    "San Luis Potosí, S.L.P.", "León, Gto.", "Puebla, Pue.", "Chihuahua, Chih.",
    "Mérida, Yuc.", "Tijuana, B.C.",
};

constexpr std::array<const char*, 8> kMotivos{
    "Visita a cliente para seguimiento de pedidos.",
    "Auditoría de calidad a proveedor.",
    "Capacitación técnica del fabricante.",
    "Instalación y puesta en marcha de equipo en sitio.",
    "Participación en exposición industrial.",
    "Negociación anual de precios con proveedor.",
    "Atención de reclamación de cliente.",
    "Supervisión de embarque consolidado.",
};

struct ConceptoGasto { const char* concepto; Centavos minimo; Centavos maximo; bool conIva; std::array<const char*, 3> proveedores; };

constexpr std::array<ConceptoGasto, 8> kConceptosGasto{{
    {"Hospedaje", 110000, 240000, true, {"Hotel Real del Bajío", "Hotel Ejecutivo Plaza", "Suites Camino Real del Centro"}},
    {"Alimentos", 15000, 65000, true, {"Restaurante La Parroquia", "Cafetería El Portal", "Fonda Doña Chuy"}},
    {"Transporte aéreo", 250000, 650000, true, {"Aerolíneas del Golfo", "Vuelos del Pacífico", "Aerolíneas del Golfo"}},
    {"Transporte terrestre", 12000, 60000, true, {"Sitio de Taxis Aeropuerto", "Autobuses Ejecutivos del Norte", "Arrendadora Móvil"}},
    {"Casetas", 8000, 45000, true, {"Autopistas Federales", "Concesionaria Vial del Norte", "Autopistas Federales"}},
    {"Combustible", 60000, 150000, true, {"Gasolinera Servicio Cumbres", "Estación de Servicio La Silla", "Gasolinera del Valle"}},
    {"Estacionamiento", 6000, 30000, true, {"Estacionamiento Aeropuerto", "Estacionamientos del Centro", "Estacionamiento Hotel"}},
    {"Propinas", 5000, 20000, false, {"Varios", "Varios", "Varios"}},
}};

constexpr std::array<const char*, 6> kObservacionesVacaciones{
    "Viaje familiar.", "Asuntos personales.", "Periodo vacacional de verano.",
    "Boda de un familiar.", "Trámites escolares de los hijos.", "Descanso programado.",
};

constexpr std::array<const char*, 4> kRechazosRequisicion{
    "Sin presupuesto disponible en la partida del área para este mes.",
    "Cantidades fuera del consumo histórico; favor de justificar.",
    "Duplicada con otra requisición del área.",
    "Artículos con existencia en almacén; solicitar vale de salida.",
};
constexpr std::array<const char*, 3> kRechazosOrden{
    "Precio por encima de la última cotización; renegociar con el proveedor.",
    "Proveedor sin alta vigente en el padrón.",
    "Condiciones de pago no autorizadas para este proveedor.",
};
constexpr std::array<const char*, 3> kRechazosGastos{
    "Comprobantes sin CFDI válido.",
    "Los gastos de alimentos exceden la política de viáticos.",
    "Falta el oficio de comisión firmado.",
};
constexpr std::array<const char*, 2> kRechazosVacaciones{
    "El periodo coincide con el cierre de inventario; favor de reprogramar.",
    "Sin cobertura del puesto en esas fechas.",
};
constexpr std::array<const char*, 4> kComentariosAutorizacion{
    "", "Autorizado conforme a presupuesto.", "Autorizado; dar prioridad a la entrega.", "Visto bueno.",
};

// ----------------------------------------------------------- configurations

// Company name and tax id come from the general parameters, so that a
// database of another company renders its own header.
const QString kColumnasEmpresa = QStringLiteral(
    "SELECT COALESCE((SELECT g.Pg_Valor FROM Parametros_Generales g"
    " WHERE g.Pg_Cve_Parametro = 'GEN_EMPRESA' AND g.Pg_Ambito = 0), '') AS EMPRESA,\n"
    "       COALESCE((SELECT g.Pg_Valor FROM Parametros_Generales g"
    " WHERE g.Pg_Cve_Parametro = 'GEN_RFC_EMPRESA' AND g.Pg_Ambito = 0), '') AS RFC_EMPRESA,\n");

// Listing, template query, statements and template of one configuration.
// Proposed values of input fields leave the template query as text, so that
// the page shows them without the regional grouping that the statement could
// not parse; amounts typed with thousands separators are accepted too.
// The stored SQL must run unchanged on SQLite and on SQL Server and holds no
// double quote (the editor writes it as a double-quoted literal); the
// templates hold no apostrophe (written as a single-quoted literal).
struct Configuracion
{
    const char* clave;
    const char* descripcion;
    const char* etiqueta;
    const char* formato;
    const char* tabla;
    const char* tablaClave;
    QString sql;
    QString autorizacion;
    const char* campos;
    QString plantillaSql;
    QString plantilla;
    QString rechazo;
    const char* fechaAlta;
    const char* operAlta;
    const char* fechaModif;
    const char* operModif;
    const char* estado;
    const char* fechaBaja;
};

QString SeccionRevision(const QString& campos)
{
    return Q(R"(
  <div class="revision">
    <h3>Revisión</h3>
)") + campos + Q(R"(    <div class="campo"><label for="COMENTARIO_DOCUMENTO">Comentario</label><textarea id="COMENTARIO_DOCUMENTO" name="COMENTARIO_DOCUMENTO" rows="3"></textarea></div>
  </div>
</div>
)");
}

QString Encabezado(const char* titulo)
{
    return Q(R"(<div class="documento">
  <table class="encabezado">
    <tr><td class="empresa" colspan="2"><strong>{EMPRESA}</strong><br>RFC {RFC_EMPRESA}</td>
        <td class="titulo" colspan="2">)") + Q(titulo) + Q(R"(<br><span class="folio">Folio {FOLIO}</span></td></tr>
)");
}

std::vector<Configuracion> Configuraciones()
{
    std::vector<Configuracion> c;

    c.push_back({
        "0001", "Autorización de requisiciones de compra por área", "Requisiciones de compra", "",
        "REQUISICIONES_COMPRA", "RQ_FOLIO",
        Q(R"(SELECT r.Rq_Folio AS Folio, r.Rq_Fecha AS Fecha, e.Em_Nombre AS Solicitante, d.Dp_Nombre AS Departamento, r.Rq_Prioridad AS Prioridad, r.Rq_Total AS Total
  FROM Requisiciones_Compra r
  JOIN Empleados e ON e.Em_Cve_Empleado = r.Em_Cve_Empleado
  JOIN Departamentos d ON d.Dp_Cve_Departamento = r.Dp_Cve_Departamento
 WHERE r.Rq_Estado = 'PE'
 ORDER BY r.Rq_Folio)"),
        Q(R"(UPDATE Requisiciones_Compra
   SET Rq_Estado = 'AU', Rq_Monto_Autorizado = CAST(REPLACE('{MONTO_AUTORIZADO}', ',', '') AS DECIMAL(18,2)), Rq_Cuenta_Presupuestal = '{CUENTA_PRESUPUESTAL}',
       Rq_Comentario_Revision = '{COMENTARIO_DOCUMENTO}', Rq_Oper_Autoriza = '{OPERADOR}', Rq_Fecha_Autoriza = '{FECHA}'
 WHERE Rq_Folio = '{FOLIO}' AND Rq_Estado = 'PE')"),
        "*MONTO_AUTORIZADO,CUENTA_PRESUPUESTAL,COMENTARIO_DOCUMENTO",
        kColumnasEmpresa + Q(R"(       r.Rq_Folio AS FOLIO, r.Rq_Fecha AS FECHA_DOCUMENTO, r.Rq_Fecha_Requerida AS FECHA_REQUERIDA,
       e.Em_Nombre AS SOLICITANTE, e.Em_Puesto AS PUESTO, d.Dp_Nombre AS DEPARTAMENTO, d.Dp_Centro_Costo AS CENTRO_COSTO,
       r.Rq_Prioridad AS PRIORIDAD, r.Rq_Justificacion AS JUSTIFICACION,
       (SELECT COUNT(*) FROM Requisiciones_Compra_Detalle x WHERE x.Rq_Folio = r.Rq_Folio) AS PARTIDAS,
       r.Rq_Detalle_Html AS DETALLE_HTML, r.Rq_Subtotal AS SUBTOTAL, r.Rq_Iva AS IVA, r.Rq_Total AS TOTAL,
       CAST(r.Rq_Total AS VARCHAR(20)) AS MONTO_AUTORIZADO, d.Dp_Cuenta_Presupuestal AS CUENTA_PRESUPUESTAL, '' AS COMENTARIO_DOCUMENTO
  FROM Requisiciones_Compra r
  JOIN Empleados e ON e.Em_Cve_Empleado = r.Em_Cve_Empleado
  JOIN Departamentos d ON d.Dp_Cve_Departamento = r.Dp_Cve_Departamento
 WHERE r.Rq_Folio = '{FOLIO}')"),
        Encabezado("REQUISICIÓN DE COMPRA") + Q(R"(    <tr><th>Fecha</th><td>{FECHA_DOCUMENTO}</td><th>Fecha requerida</th><td>{FECHA_REQUERIDA}</td></tr>
    <tr><th>Solicitante</th><td>{SOLICITANTE}<br><small>{PUESTO}</small></td><th>Departamento</th><td>{DEPARTAMENTO} ({CENTRO_COSTO})</td></tr>
    <tr><th>Prioridad</th><td>{PRIORIDAD}</td><th>Partidas</th><td>{PARTIDAS}</td></tr>
    <tr><th>Justificación</th><td colspan="3">{JUSTIFICACION}</td></tr>
  </table>
  <table class="partidas">
    <thead><tr><th>#</th><th>Artículo</th><th>Descripción</th><th>Cantidad</th><th>Unidad</th><th>Precio estimado</th><th>Importe</th></tr></thead>
    <tbody>
{DETALLE_HTML}
    </tbody>
  </table>
  <table class="totales">
    <tr><th>Subtotal</th><td class="num">$ {SUBTOTAL}</td></tr>
    <tr><th>IVA 16%</th><td class="num">$ {IVA}</td></tr>
    <tr class="total"><th>Total estimado</th><td class="num">$ {TOTAL}</td></tr>
  </table>)") + SeccionRevision(Q(R"(    <div class="campo obligatorio"><label for="MONTO_AUTORIZADO">Monto autorizado (MXN) *</label><input id="MONTO_AUTORIZADO" name="MONTO_AUTORIZADO" value="{MONTO_AUTORIZADO}"></div>
    <div class="campo"><label for="CUENTA_PRESUPUESTAL">Cuenta presupuestal</label><input id="CUENTA_PRESUPUESTAL" name="CUENTA_PRESUPUESTAL" value="{CUENTA_PRESUPUESTAL}"></div>
)")),
        Q(R"(UPDATE Requisiciones_Compra
   SET Rq_Estado = 'RE', Rq_Oper_Rechaza = '{OPERADOR}', Rq_Fecha_Rechaza = '{FECHA}'
 WHERE Rq_Folio = '{FOLIO}' AND Rq_Estado = 'PE')"),
        "2025-01-13T10:22:41", "ADMIN", "2025-02-04T16:48:09", "ADMIN", "AC", nullptr});

    c.push_back({
        "0002", "Autorización de órdenes de compra a proveedores", "Órdenes de compra", "OC_AUTORIZADA",
        "ORDENES_COMPRA", "OC_FOLIO",
        Q(R"(SELECT o.Oc_Folio AS Folio, o.Oc_Fecha AS Fecha, p.Pv_Razon_Social AS Proveedor, p.Pv_Rfc AS RFC, d.Dp_Nombre AS Departamento, o.Oc_Total AS Total
  FROM Ordenes_Compra o
  JOIN Proveedores p ON p.Pv_Cve_Proveedor = o.Pv_Cve_Proveedor
  JOIN Departamentos d ON d.Dp_Cve_Departamento = o.Dp_Cve_Departamento
 WHERE o.Oc_Estado = 'PE'
 ORDER BY o.Oc_Folio)"),
        // An emptied payment-terms field keeps the terms the buyer wrote.
        Q(R"(UPDATE Ordenes_Compra
   SET Oc_Estado = 'AU', Oc_Partida_Presupuestal = '{PARTIDA_PRESUPUESTAL}',
       Oc_Condiciones_Pago = COALESCE(NULLIF('{CONDICIONES_PAGO}', ''), Oc_Condiciones_Pago),
       Oc_Comentario_Revision = '{COMENTARIO_DOCUMENTO}', Oc_Oper_Autoriza = '{OPERADOR}', Oc_Fecha_Autoriza = '{FECHA}'
 WHERE Oc_Folio = '{FOLIO}' AND Oc_Estado = 'PE')"),
        "*PARTIDA_PRESUPUESTAL,CONDICIONES_PAGO,COMENTARIO_DOCUMENTO",
        kColumnasEmpresa + Q(R"(       o.Oc_Folio AS FOLIO, o.Oc_Fecha AS FECHA_DOCUMENTO, p.Pv_Cve_Proveedor AS CLAVE_PROVEEDOR,
       p.Pv_Razon_Social AS PROVEEDOR, p.Pv_Rfc AS RFC_PROVEEDOR, p.Pv_Domicilio AS DOMICILIO_PROVEEDOR,
       d.Dp_Nombre AS DEPARTAMENTO, d.Dp_Centro_Costo AS CENTRO_COSTO, e.Em_Nombre AS COMPRADOR,
       o.Oc_Fecha_Entrega AS FECHA_ENTREGA, o.Oc_Lugar_Entrega AS LUGAR_ENTREGA, o.Oc_Moneda AS MONEDA,
       (SELECT COUNT(*) FROM Ordenes_Compra_Detalle x WHERE x.Oc_Folio = o.Oc_Folio) AS PARTIDAS,
       o.Oc_Detalle_Html AS DETALLE_HTML, o.Oc_Subtotal AS SUBTOTAL, o.Oc_Iva AS IVA, o.Oc_Total AS TOTAL,
       '' AS PARTIDA_PRESUPUESTAL, o.Oc_Condiciones_Pago AS CONDICIONES_PAGO, '' AS COMENTARIO_DOCUMENTO
  FROM Ordenes_Compra o
  JOIN Proveedores p ON p.Pv_Cve_Proveedor = o.Pv_Cve_Proveedor
  JOIN Departamentos d ON d.Dp_Cve_Departamento = o.Dp_Cve_Departamento
  JOIN Empleados e ON e.Em_Cve_Empleado = o.Em_Cve_Comprador
 WHERE o.Oc_Folio = '{FOLIO}')"),
        Encabezado("ORDEN DE COMPRA") + Q(R"(    <tr><th>Fecha</th><td>{FECHA_DOCUMENTO}</td><th>Comprador</th><td>{COMPRADOR}</td></tr>
    <tr><th>Proveedor</th><td>{PROVEEDOR}<br><small>{CLAVE_PROVEEDOR} &middot; RFC {RFC_PROVEEDOR}</small><br><small>{DOMICILIO_PROVEEDOR}</small></td>
        <th>Departamento</th><td>{DEPARTAMENTO} ({CENTRO_COSTO})</td></tr>
    <tr><th>Entrega</th><td>{FECHA_ENTREGA}, {LUGAR_ENTREGA}</td><th>Moneda</th><td>{MONEDA}</td></tr>
  </table>
  <table class="partidas">
    <thead><tr><th>#</th><th>Artículo</th><th>Descripción</th><th>Cantidad</th><th>Unidad</th><th>Precio unitario</th><th>Importe</th></tr></thead>
    <tbody>
{DETALLE_HTML}
    </tbody>
  </table>
  <table class="totales">
    <tr><th>Partidas</th><td class="num">{PARTIDAS}</td></tr>
    <tr><th>Subtotal</th><td class="num">$ {SUBTOTAL}</td></tr>
    <tr><th>IVA 16%</th><td class="num">$ {IVA}</td></tr>
    <tr class="total"><th>Total</th><td class="num">$ {TOTAL}</td></tr>
  </table>)") + SeccionRevision(Q(R"(    <div class="campo obligatorio"><label for="PARTIDA_PRESUPUESTAL">Partida presupuestal *</label><input id="PARTIDA_PRESUPUESTAL" name="PARTIDA_PRESUPUESTAL" value="{PARTIDA_PRESUPUESTAL}"></div>
    <div class="campo"><label for="CONDICIONES_PAGO">Condiciones de pago</label><input id="CONDICIONES_PAGO" name="CONDICIONES_PAGO" value="{CONDICIONES_PAGO}"></div>
)")),
        Q(R"(UPDATE Ordenes_Compra
   SET Oc_Estado = 'RE', Oc_Oper_Rechaza = '{OPERADOR}', Oc_Fecha_Rechaza = '{FECHA}'
 WHERE Oc_Folio = '{FOLIO}' AND Oc_Estado = 'PE')"),
        "2025-01-13T11:05:17", "ADMIN", "2025-03-18T09:31:55", "GCOMPRAS", "AC", nullptr});

    c.push_back({
        "0003", "Autorización de reportes de gastos de viaje", "Reportes de gastos", "",
        "REPORTES_GASTOS", "RG_FOLIO",
        Q(R"(SELECT r.Rg_Folio AS Folio, r.Rg_Fecha AS Fecha, e.Em_Nombre AS Empleado, d.Dp_Nombre AS Departamento, r.Rg_Destino AS Destino, r.Rg_Total AS Total, r.Rg_Por_Reembolsar AS Por_Reembolsar
  FROM Reportes_Gastos r
  JOIN Empleados e ON e.Em_Cve_Empleado = r.Em_Cve_Empleado
  JOIN Departamentos d ON d.Dp_Cve_Departamento = r.Dp_Cve_Departamento
 WHERE r.Rg_Estado = 'PE'
 ORDER BY r.Rg_Folio)"),
        Q(R"(UPDATE Reportes_Gastos
   SET Rg_Estado = 'AU', Rg_Monto_Reembolso = CAST(REPLACE('{MONTO_REEMBOLSO}', ',', '') AS DECIMAL(18,2)), Rg_Cuenta_Contable = '{CUENTA_CONTABLE}',
       Rg_Comentario_Revision = '{COMENTARIO_DOCUMENTO}', Rg_Oper_Autoriza = '{OPERADOR}', Rg_Fecha_Autoriza = '{FECHA}'
 WHERE Rg_Folio = '{FOLIO}' AND Rg_Estado = 'PE')"),
        "*MONTO_REEMBOLSO,CUENTA_CONTABLE,COMENTARIO_DOCUMENTO",
        kColumnasEmpresa + Q(R"(       r.Rg_Folio AS FOLIO, r.Rg_Fecha AS FECHA_DOCUMENTO, e.Em_Cve_Empleado AS NUMERO_EMPLEADO,
       e.Em_Nombre AS EMPLEADO, e.Em_Puesto AS PUESTO, d.Dp_Nombre AS DEPARTAMENTO, d.Dp_Centro_Costo AS CENTRO_COSTO,
       r.Rg_Motivo AS MOTIVO, r.Rg_Destino AS DESTINO, r.Rg_Periodo_Inicio AS PERIODO_INICIO, r.Rg_Periodo_Fin AS PERIODO_FIN,
       (SELECT COUNT(*) FROM Reportes_Gastos_Detalle x WHERE x.Rg_Folio = r.Rg_Folio) AS COMPROBANTES,
       r.Rg_Detalle_Html AS DETALLE_HTML, r.Rg_Subtotal AS SUBTOTAL, r.Rg_Iva AS IVA, r.Rg_Total AS TOTAL,
       r.Rg_Anticipo AS ANTICIPO, r.Rg_Por_Reembolsar AS POR_REEMBOLSAR,
       CAST(r.Rg_Por_Reembolsar AS VARCHAR(20)) AS MONTO_REEMBOLSO, d.Dp_Cuenta_Gastos AS CUENTA_CONTABLE, '' AS COMENTARIO_DOCUMENTO
  FROM Reportes_Gastos r
  JOIN Empleados e ON e.Em_Cve_Empleado = r.Em_Cve_Empleado
  JOIN Departamentos d ON d.Dp_Cve_Departamento = r.Dp_Cve_Departamento
 WHERE r.Rg_Folio = '{FOLIO}')"),
        Encabezado("COMPROBACIÓN DE GASTOS DE VIAJE") + Q(R"(    <tr><th>Fecha</th><td>{FECHA_DOCUMENTO}</td><th>Periodo</th><td>{PERIODO_INICIO} al {PERIODO_FIN}</td></tr>
    <tr><th>Empleado</th><td>{NUMERO_EMPLEADO} {EMPLEADO}<br><small>{PUESTO}</small></td><th>Departamento</th><td>{DEPARTAMENTO} ({CENTRO_COSTO})</td></tr>
    <tr><th>Destino</th><td>{DESTINO}</td><th>Comprobantes</th><td>{COMPROBANTES}</td></tr>
    <tr><th>Motivo</th><td colspan="3">{MOTIVO}</td></tr>
  </table>
  <table class="partidas">
    <thead><tr><th>#</th><th>Fecha</th><th>Concepto</th><th>Proveedor</th><th>Comprobante</th><th>Subtotal</th><th>IVA</th><th>Importe</th></tr></thead>
    <tbody>
{DETALLE_HTML}
    </tbody>
  </table>
  <table class="totales">
    <tr><th>Subtotal</th><td class="num">$ {SUBTOTAL}</td></tr>
    <tr><th>IVA 16%</th><td class="num">$ {IVA}</td></tr>
    <tr class="total"><th>Total comprobado</th><td class="num">$ {TOTAL}</td></tr>
    <tr><th>Anticipo recibido</th><td class="num">$ {ANTICIPO}</td></tr>
    <tr class="total"><th>Saldo a reembolsar</th><td class="num">$ {POR_REEMBOLSAR}</td></tr>
  </table>)") + SeccionRevision(Q(R"(    <div class="campo obligatorio"><label for="MONTO_REEMBOLSO">Monto a reembolsar (MXN) *</label><input id="MONTO_REEMBOLSO" name="MONTO_REEMBOLSO" value="{MONTO_REEMBOLSO}"></div>
    <div class="campo"><label for="CUENTA_CONTABLE">Cuenta contable</label><input id="CUENTA_CONTABLE" name="CUENTA_CONTABLE" value="{CUENTA_CONTABLE}"></div>
)")),
        Q(R"(UPDATE Reportes_Gastos
   SET Rg_Estado = 'RE', Rg_Oper_Rechaza = '{OPERADOR}', Rg_Fecha_Rechaza = '{FECHA}'
 WHERE Rg_Folio = '{FOLIO}' AND Rg_Estado = 'PE')"),
        "2025-01-20T12:40:03", "ADMIN", "2025-01-20T12:40:03", "ADMIN", "AC", nullptr});

    c.push_back({
        "0004", "Autorización de solicitudes de vacaciones", "Solicitudes de vacaciones", "",
        "SOLICITUDES_VACACIONES", "SV_FOLIO",
        Q(R"(SELECT s.Sv_Folio AS Folio, s.Sv_Fecha AS Fecha, e.Em_Nombre AS Empleado, d.Dp_Nombre AS Departamento, s.Sv_Fecha_Inicio AS Desde, s.Sv_Fecha_Fin AS Hasta, s.Sv_Dias AS Dias
  FROM Solicitudes_Vacaciones s
  JOIN Empleados e ON e.Em_Cve_Empleado = s.Em_Cve_Empleado
  JOIN Departamentos d ON d.Dp_Cve_Departamento = s.Dp_Cve_Departamento
 WHERE s.Sv_Estado = 'PE'
 ORDER BY s.Sv_Folio)"),
        // An emptied days field grants the days requested.
        Q(R"(UPDATE Solicitudes_Vacaciones
   SET Sv_Estado = 'AU', Sv_Dias_Autorizados = CAST(COALESCE(NULLIF('{DIAS_AUTORIZADOS}', ''), Sv_Dias) AS INTEGER),
       Sv_Comentario_Revision = '{COMENTARIO_DOCUMENTO}', Sv_Oper_Autoriza = '{OPERADOR}', Sv_Fecha_Autoriza = '{FECHA}'
 WHERE Sv_Folio = '{FOLIO}' AND Sv_Estado = 'PE')"),
        "DIAS_AUTORIZADOS,COMENTARIO_DOCUMENTO",
        kColumnasEmpresa + Q(R"(       s.Sv_Folio AS FOLIO, s.Sv_Fecha AS FECHA_DOCUMENTO, e.Em_Cve_Empleado AS NUMERO_EMPLEADO,
       e.Em_Nombre AS EMPLEADO, e.Em_Puesto AS PUESTO, e.Em_Fecha_Ingreso AS FECHA_INGRESO, d.Dp_Nombre AS DEPARTAMENTO,
       s.Sv_Periodo AS PERIODO, s.Sv_Fecha_Inicio AS FECHA_INICIO, s.Sv_Fecha_Fin AS FECHA_FIN, s.Sv_Dias AS DIAS,
       s.Sv_Dias_Disponibles AS DIAS_DISPONIBLES, s.Sv_Observaciones AS OBSERVACIONES,
       CAST(s.Sv_Dias AS VARCHAR(10)) AS DIAS_AUTORIZADOS, '' AS COMENTARIO_DOCUMENTO
  FROM Solicitudes_Vacaciones s
  JOIN Empleados e ON e.Em_Cve_Empleado = s.Em_Cve_Empleado
  JOIN Departamentos d ON d.Dp_Cve_Departamento = s.Dp_Cve_Departamento
 WHERE s.Sv_Folio = '{FOLIO}')"),
        Encabezado("SOLICITUD DE VACACIONES") + Q(R"(    <tr><th>Fecha</th><td>{FECHA_DOCUMENTO}</td><th>Año de servicio</th><td>{PERIODO}</td></tr>
    <tr><th>Empleado</th><td>{NUMERO_EMPLEADO} {EMPLEADO}<br><small>{PUESTO}</small></td><th>Departamento</th><td>{DEPARTAMENTO}</td></tr>
    <tr><th>Fecha de ingreso</th><td>{FECHA_INGRESO}</td><th>Días disponibles</th><td>{DIAS_DISPONIBLES}</td></tr>
  </table>
  <table class="totales">
    <tr><th>Del</th><td>{FECHA_INICIO}</td></tr>
    <tr><th>Al</th><td>{FECHA_FIN}</td></tr>
    <tr class="total"><th>Días hábiles solicitados</th><td class="num">{DIAS}</td></tr>
    <tr><th>Observaciones</th><td>{OBSERVACIONES}</td></tr>
  </table>)") + SeccionRevision(Q(R"(    <div class="campo"><label for="DIAS_AUTORIZADOS">Días autorizados</label><input id="DIAS_AUTORIZADOS" name="DIAS_AUTORIZADOS" value="{DIAS_AUTORIZADOS}"></div>
)")),
        Q(R"(UPDATE Solicitudes_Vacaciones
   SET Sv_Estado = 'RE', Sv_Oper_Rechaza = '{OPERADOR}', Sv_Fecha_Rechaza = '{FECHA}'
 WHERE Sv_Folio = '{FOLIO}' AND Sv_Estado = 'PE')"),
        "2025-01-20T13:02:30", "RHUMANOS", "2025-05-02T17:05:12", "ADMIN", "BA", "2025-05-02T17:05:12"});

    return c;
}

const QString kSqlOrdenAutorizada = QStringLiteral(
    "SELECT COALESCE((SELECT g.Pg_Valor FROM Parametros_Generales g"
    " WHERE g.Pg_Cve_Parametro = 'GEN_EMPRESA' AND g.Pg_Ambito = 0), '') AS EMPRESA,\n"
    "       COALESCE((SELECT g.Pg_Valor FROM Parametros_Generales g"
    " WHERE g.Pg_Cve_Parametro = 'GEN_RFC_EMPRESA' AND g.Pg_Ambito = 0), '') AS RFC_EMPRESA,\n"
    "       o.Oc_Folio AS FOLIO, o.Oc_Fecha AS FECHA_DOCUMENTO, p.Pv_Cve_Proveedor AS CLAVE_PROVEEDOR,\n"
    "       p.Pv_Razon_Social AS PROVEEDOR, p.Pv_Rfc AS RFC_PROVEEDOR, p.Pv_Domicilio AS DOMICILIO_PROVEEDOR,\n"
    "       d.Dp_Nombre AS DEPARTAMENTO, e.Em_Nombre AS COMPRADOR, o.Oc_Condiciones_Pago AS CONDICIONES_PAGO,\n"
    "       o.Oc_Fecha_Entrega AS FECHA_ENTREGA, o.Oc_Lugar_Entrega AS LUGAR_ENTREGA, o.Oc_Moneda AS MONEDA,\n"
    "       o.Oc_Detalle_Html AS DETALLE_HTML, o.Oc_Subtotal AS SUBTOTAL, o.Oc_Iva AS IVA, o.Oc_Total AS TOTAL,\n"
    "       COALESCE(o.Oc_Partida_Presupuestal, '') AS PARTIDA_PRESUPUESTAL,\n"
    "       COALESCE(a.Op_Nombre, o.Oc_Oper_Autoriza) AS AUTORIZO, o.Oc_Fecha_Autoriza AS FECHA_AUTORIZACION\n"
    "  FROM Ordenes_Compra o\n"
    "  JOIN Proveedores p ON p.Pv_Cve_Proveedor = o.Pv_Cve_Proveedor\n"
    "  JOIN Departamentos d ON d.Dp_Cve_Departamento = o.Dp_Cve_Departamento\n"
    "  JOIN Empleados e ON e.Em_Cve_Empleado = o.Em_Cve_Comprador\n"
    "  LEFT JOIN Operadores a ON a.Op_Cve_Operador = o.Oc_Oper_Autoriza\n"
    " WHERE o.Oc_Folio = '{FOLIO}' AND o.Oc_Estado = 'AU'");

const char* const kPlantillaOrdenAutorizada = R"(<div class="documento impresion">
  <table class="encabezado">
    <tr><td class="empresa" colspan="2"><strong>{EMPRESA}</strong><br>RFC {RFC_EMPRESA}</td>
        <td class="titulo" colspan="2">ORDEN DE COMPRA<br><span class="folio">Folio {FOLIO}</span></td></tr>
    <tr><th>Fecha</th><td>{FECHA_DOCUMENTO}</td><th>Moneda</th><td>{MONEDA}</td></tr>
    <tr><th>Proveedor</th><td colspan="3">{CLAVE_PROVEEDOR} {PROVEEDOR}<br>RFC {RFC_PROVEEDOR}<br>{DOMICILIO_PROVEEDOR}</td></tr>
    <tr><th>Condiciones de pago</th><td>{CONDICIONES_PAGO}</td><th>Departamento</th><td>{DEPARTAMENTO}</td></tr>
    <tr><th>Fecha de entrega</th><td>{FECHA_ENTREGA}</td><th>Lugar de entrega</th><td>{LUGAR_ENTREGA}</td></tr>
  </table>
  <table class="partidas">
    <thead><tr><th>#</th><th>Artículo</th><th>Descripción</th><th>Cantidad</th><th>Unidad</th><th>Precio unitario</th><th>Importe</th></tr></thead>
    <tbody>
{DETALLE_HTML}
    </tbody>
  </table>
  <table class="totales">
    <tr><th>Subtotal</th><td class="num">$ {SUBTOTAL}</td></tr>
    <tr><th>IVA 16%</th><td class="num">$ {IVA}</td></tr>
    <tr class="total"><th>Total</th><td class="num">$ {TOTAL}</td></tr>
  </table>
  <table class="firmas">
    <tr><td>{COMPRADOR}<br>Elaboró</td><td>{AUTORIZO}<br>Autorizó el {FECHA_AUTORIZACION}<br>Partida {PARTIDA_PRESUPUESTAL}</td><td>Recibió proveedor</td></tr>
  </table>
  <p class="nota">Favor de citar el folio de esta orden en su factura (CFDI) y en la remisión de entrega.</p>
</div>
)";

// ---------------------------------------------------------------- loader

struct Linea
{
    QString articulo, descripcion, unidad;
    int cantidad = 0;
    Centavos precio = 0, importe = 0;
};

class Cargador
{
public:
    explicit Cargador(QSqlDatabase& db) : m_db(db), m_rng(kSemilla) {}

    void Todo()
    {
        Parametros();
        Operadores();
        Catalogos();
        Requisiciones();
        Ordenes();
        ReportesGastos();
        Vacaciones();
        Comentarios();
        ConfiguracionesAutorizacion();
        // Last, so that a clash here proves the whole load rolls back.
        FormatosImpresion();
    }

private:
    // ------------------------------------------------------------ helpers

    int Entre(int minimo, int maximo) { return minimo + int(m_rng.bounded(quint32(maximo - minimo + 1))); }
    bool Probable(int porciento) { return Entre(1, 100) <= porciento; }
    template <typename T, std::size_t N>
    const T& Elegir(const std::array<T, N>& a) { return a[std::size_t(Entre(0, int(N) - 1))]; }

    QSqlQuery Preparar(const QString& sql)
    {
        QSqlQuery q(m_db);
        if (!q.prepare(sql))
            throw std::runtime_error(q.lastError().text().toStdString());
        return q;
    }

    static void Ejecutar(QSqlQuery& q, std::initializer_list<QVariant> valores)
    {
        int i = 0;
        for (const auto& v : valores)
            q.bindValue(i++, v);
        if (!q.exec())
            throw std::runtime_error(q.lastError().text().toStdString());
    }

    static QVariant Texto(const char* utf8) { return Q(utf8); }
    static QVariant Nulo() { return QVariant(QMetaType::fromType<QString>()); }

    // Business days spread over the last `dias` days, oldest first, so that
    // folio order and date order agree.
    static std::vector<QDate> Fechas(int cantidad, int dias)
    {
        std::vector<QDate> fechas;
        for (int i = 0; i < cantidad; ++i) {
            QDate d = DatosDemo::FechaBase().addDays(-qint64(dias) * (cantidad - 1 - i) / std::max(1, cantidad - 1));
            while (d.dayOfWeek() > 5)
                d = d.addDays(-1);
            fechas.push_back(d);
        }
        return fechas;
    }

    QDateTime MomentoRevision(const QDate& documento)
    {
        QDate d = documento.addDays(Entre(1, 3));
        while (d.dayOfWeek() > 5)
            d = d.addDays(1);
        // Braces fix the order of the three draws, which plain arguments would not.
        return QDateTime(d, QTime{Entre(9, 18), Entre(0, 59), Entre(0, 59)});
    }

    std::vector<const Articulo*> ArticulosDe(const char* categorias) const
    {
        std::vector<const Articulo*> r;
        for (const auto& a : kArticulos)
            if (std::strchr(categorias, a.categoria))
                r.push_back(&a);
        return r;
    }

    // 1..8 distinct articles of the given categories, with quantities that
    // make sense for their price.
    std::vector<Linea> Lineas(const char* categorias, bool precioEstimado)
    {
        auto pool = ArticulosDe(categorias);
        const int n = std::min<int>(Entre(1, 8), int(pool.size()));
        std::vector<Linea> lineas;
        for (int i = 0; i < n; ++i) {
            const int j = Entre(i, int(pool.size()) - 1);
            std::swap(pool[std::size_t(i)], pool[std::size_t(j)]);
            const Articulo& a = *pool[std::size_t(i)];
            Linea l;
            l.articulo = Q(a.clave);
            l.descripcion = Q(a.descripcion);
            l.unidad = Q(a.unidad);
            l.cantidad = a.precio >= 200000 ? Entre(1, 3) : a.precio >= 50000 ? Entre(1, 6) : Entre(2, 24);
            l.precio = precioEstimado ? (a.precio * Entre(95, 110) + 50) / 100 : a.precio;
            l.importe = l.precio * l.cantidad;
            lineas.push_back(l);
        }
        return lineas;
    }

    static Centavos Subtotal(const std::vector<Linea>& lineas)
    {
        Centavos subtotal = 0;
        for (const auto& l : lineas)
            subtotal += l.importe;
        return subtotal;
    }

    // The lines of a requisition or an order, numbered from 1.
    void InsertarPartidas(QSqlQuery& det, const QString& folio, const std::vector<Linea>& lineas)
    {
        int partida = 0;
        for (const auto& l : lineas)
            Ejecutar(det, {folio, ++partida, l.articulo, l.descripcion, l.unidad, l.cantidad, Monto(l.precio), Monto(l.importe)});
    }

    static QString HtmlLineas(const std::vector<Linea>& lineas)
    {
        QStringList filas;
        int n = 0;
        for (const auto& l : lineas) {
            filas << QStringLiteral("<tr>") + Celda(QString::number(++n), true) + Celda(l.articulo) + Celda(l.descripcion)
                    + Celda(QString::number(l.cantidad), true) + Celda(l.unidad) + Celda(QStringLiteral("$ ") + Pesos(l.precio), true)
                    + Celda(QStringLiteral("$ ") + Pesos(l.importe), true) + QStringLiteral("</tr>");
        }
        return filas.join(QLatin1Char('\n'));
    }

    // Oldest documents were already reviewed; about one in four of them was
    // rejected. Returns 'PE', 'AU' or 'RE'.
    QString EstadoDe(int indice, int revisados)
    {
        if (indice >= revisados)
            return QStringLiteral("PE");
        return Probable(25) ? QStringLiteral("RE") : QStringLiteral("AU");
    }

    struct Comentario { QString tabla, folio, texto, operador, fecha; };

    // Reviewed documents get the review columns; rejections and commented
    // authorizations also leave a comment, as the shell records them.
    struct Revision { QVariant operAutoriza, fechaAutoriza, operRechaza, fechaRechaza, comentario; };

    template <std::size_t N>
    Revision Revisar(const QString& estado, const QDate& fecha, const char* tabla, const QString& folio,
                     const char* autoriza, const std::array<const char*, N>& motivosRechazo)
    {
        Revision r{Nulo(), Nulo(), Nulo(), Nulo(), Nulo()};
        if (estado == QLatin1String("PE"))
            return r;
        const QString cuando = TextoFechaHora(MomentoRevision(fecha));
        if (estado == QLatin1String("AU")) {
            const QString texto = Q(Elegir(kComentariosAutorizacion));
            r.operAutoriza = Q(autoriza);
            r.fechaAutoriza = cuando;
            r.comentario = texto;
            if (!texto.isEmpty())
                m_comentarios.push_back({Q(tabla), folio, texto, Q(autoriza), cuando});
        } else {
            const QString texto = Q(Elegir(motivosRechazo));
            r.operRechaza = Q(autoriza);
            r.fechaRechaza = cuando;
            m_comentarios.push_back({Q(tabla), folio, texto, Q(autoriza), cuando});
        }
        return r;
    }

    static const Departamento& DepartamentoDe(const Empleado& e)
    {
        for (const auto& d : kDepartamentos)
            if (std::strcmp(d.clave, e.departamento) == 0)
                return d;
        throw std::logic_error("departamento desconocido");
    }

    static QString CuentaPresupuestal(const Departamento& d) { return QStringLiteral("PRE-2025-") + Q(d.centroCosto).mid(3); }
    static QString CuentaGastos(const Departamento& d) { return QStringLiteral("601.48-") + Q(d.centroCosto).mid(3); }

    // ------------------------------------------------------------ tables

    void Parametros()
    {
        auto q = Preparar(QStringLiteral("INSERT INTO Parametros_Generales (Pg_Cve_Parametro, Pg_Ambito, Pg_Tipo, Pg_Valor, Pg_Descripcion)"
                                         " VALUES (?, ?, ?, ?, ?)"));
        Ejecutar(q, {"GEN_URL", 1, "T", "orvinda://web", Texto("Dirección base del servidor de páginas del sistema")});
        Ejecutar(q, {"CAT_AUTOCLAVE", 0, "B", "1", Texto("Proponer la siguiente clave libre al dar de alta en catálogos")});
        Ejecutar(q, {"FTO_CONFIGURACION_AUTORIZACION", 0, "T", "0000", Texto("Formato de la clave de configuración de autorizaciones")});
        Ejecutar(q, {"GEN_EMPRESA", 0, "T", Texto(kEmpresa), Texto("Razón social de la empresa")});
        Ejecutar(q, {"GEN_RFC_EMPRESA", 0, "T", kRfcEmpresa, Texto("RFC de la empresa")});
        Ejecutar(q, {"GEN_TASA_IVA", 0, "N", "16", Texto("Tasa general de IVA en por ciento")});
    }

    void Operadores()
    {
        auto q = Preparar(QStringLiteral("INSERT INTO Operadores (Op_Cve_Operador, Op_Nombre, Op_Nivel) VALUES (?, ?, ?)"));
        for (const auto& o : kOperadores)
            Ejecutar(q, {o.clave, Texto(o.nombre), o.nivel});
    }

    void Catalogos()
    {
        auto dep = Preparar(QStringLiteral("INSERT INTO Departamentos (Dp_Cve_Departamento, Dp_Nombre, Dp_Centro_Costo,"
                                           " Dp_Cuenta_Presupuestal, Dp_Cuenta_Gastos) VALUES (?, ?, ?, ?, ?)"));
        for (const auto& d : kDepartamentos)
            Ejecutar(dep, {d.clave, Texto(d.nombre), d.centroCosto, CuentaPresupuestal(d), CuentaGastos(d)});

        auto emp = Preparar(QStringLiteral("INSERT INTO Empleados (Em_Cve_Empleado, Em_Nombre, Em_Puesto, Dp_Cve_Departamento,"
                                           " Em_Fecha_Ingreso) VALUES (?, ?, ?, ?, ?)"));
        for (const auto& e : kEmpleados)
            Ejecutar(emp, {e.clave, Texto(e.nombre), Texto(e.puesto), e.departamento, e.ingreso});

        auto prv = Preparar(QStringLiteral("INSERT INTO Proveedores (Pv_Cve_Proveedor, Pv_Rfc, Pv_Razon_Social, Pv_Domicilio,"
                                           " Pv_Dias_Credito) VALUES (?, ?, ?, ?, ?)"));
        for (const auto& p : kProveedores)
            Ejecutar(prv, {p.clave, p.rfc, Texto(p.razon), Texto(p.domicilio), p.diasCredito});
    }

    void Requisiciones()
    {
        constexpr int kTotal = 150, kRevisadas = 30, kPrimerFolio = 301;
        auto cab = Preparar(QStringLiteral(
            "INSERT INTO Requisiciones_Compra (Rq_Folio, Rq_Fecha, Rq_Fecha_Requerida, Em_Cve_Empleado, Dp_Cve_Departamento,"
            " Rq_Prioridad, Rq_Justificacion, Rq_Subtotal, Rq_Iva, Rq_Total, Rq_Detalle_Html, Rq_Estado, Rq_Monto_Autorizado,"
            " Rq_Cuenta_Presupuestal, Rq_Comentario_Revision, Rq_Oper_Autoriza, Rq_Fecha_Autoriza, Rq_Oper_Rechaza, Rq_Fecha_Rechaza)"
            " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        auto det = Preparar(QStringLiteral(
            "INSERT INTO Requisiciones_Compra_Detalle (Rq_Folio, Rd_Partida, Rd_Articulo, Rd_Descripcion, Rd_Unidad,"
            " Rd_Cantidad, Rd_Precio, Rd_Importe) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));

        const auto fechas = Fechas(kTotal, 120);
        for (int i = 0; i < kTotal; ++i) {
            const QString folio = QStringLiteral("REQ-2025-%1").arg(kPrimerFolio + i, 4, 10, QLatin1Char('0'));
            const Empleado& e = Elegir(kEmpleados);
            const Departamento& d = DepartamentoDe(e);
            const int p = Entre(1, 10);
            const QString prioridad = p <= 7 ? QStringLiteral("Normal") : p <= 9 ? QStringLiteral("Alta") : QStringLiteral("Urgente");
            const QDate requerida = fechas[std::size_t(i)].addDays(p == 10 ? Entre(2, 5) : Entre(7, 30));
            const auto lineas = Lineas(d.categorias, true);
            const Centavos subtotal = Subtotal(lineas);
            const Centavos iva = Iva(subtotal), total = subtotal + iva;

            const QString estado = EstadoDe(i, kRevisadas);
            const char* revisor = total > 5000000 ? "DFINANZAS" : "GCOMPRAS";
            const Revision r = Revisar(estado, fechas[std::size_t(i)], "REQUISICIONES_COMPRA", folio, revisor, kRechazosRequisicion);
            QVariant autorizado = Nulo(), cuenta = Nulo();
            if (estado == QLatin1String("AU")) {
                // Now and then the reviewer trims the amount to a round figure.
                const Centavos recortado = total * 9 / 10 / 10000 * 10000;
                autorizado = Monto(Probable(80) || recortado == 0 ? total : recortado);
                cuenta = CuentaPresupuestal(d);
            }
            Ejecutar(cab, {folio, TextoFecha(fechas[std::size_t(i)]), TextoFecha(requerida), e.clave, d.clave, prioridad,
                           Texto(Elegir(kJustificaciones)), Monto(subtotal), Monto(iva), Monto(total), HtmlLineas(lineas), estado,
                           autorizado, cuenta, r.comentario, r.operAutoriza, r.fechaAutoriza, r.operRechaza, r.fechaRechaza});
            InsertarPartidas(det, folio, lineas);
        }
    }

    void Ordenes()
    {
        constexpr int kTotal = 100, kRevisadas = 20, kPrimerFolio = 201;
        auto cab = Preparar(QStringLiteral(
            "INSERT INTO Ordenes_Compra (Oc_Folio, Oc_Fecha, Pv_Cve_Proveedor, Dp_Cve_Departamento, Em_Cve_Comprador,"
            " Oc_Condiciones_Pago, Oc_Fecha_Entrega, Oc_Lugar_Entrega, Oc_Moneda, Oc_Subtotal, Oc_Iva, Oc_Total, Oc_Detalle_Html,"
            " Oc_Estado, Oc_Partida_Presupuestal, Oc_Comentario_Revision, Oc_Oper_Autoriza, Oc_Fecha_Autoriza, Oc_Oper_Rechaza,"
            " Oc_Fecha_Rechaza) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        auto det = Preparar(QStringLiteral(
            "INSERT INTO Ordenes_Compra_Detalle (Oc_Folio, Od_Partida, Od_Articulo, Od_Descripcion, Od_Unidad,"
            " Od_Cantidad, Od_Precio, Od_Importe) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));

        const auto fechas = Fechas(kTotal, 90);
        for (int i = 0; i < kTotal; ++i) {
            const QString folio = QStringLiteral("OC-2025-%1").arg(kPrimerFolio + i, 4, 10, QLatin1Char('0'));
            const Proveedor& p = Elegir(kProveedores);
            const Departamento& d = Elegir(kDepartamentos);
            const Empleado& comprador = kEmpleados[std::size_t(Elegir(kCompradores))];
            const QString condiciones = p.diasCredito == 0 ? QStringLiteral("Contado")
                                                            : Q("Crédito a %1 días").arg(p.diasCredito);
            const auto lineas = Lineas(p.categorias, false);
            const Centavos subtotal = Subtotal(lineas);
            const Centavos iva = Iva(subtotal), total = subtotal + iva;

            const QString estado = EstadoDe(i, kRevisadas);
            const Revision r = Revisar(estado, fechas[std::size_t(i)], "ORDENES_COMPRA", folio,
                                       total > 10000000 ? "DFINANZAS" : "GCOMPRAS", kRechazosOrden);
            const QVariant partida = estado == QLatin1String("AU") ? QVariant(CuentaPresupuestal(d)) : Nulo();
            Ejecutar(cab, {folio, TextoFecha(fechas[std::size_t(i)]), p.clave, d.clave, comprador.clave, condiciones,
                           TextoFecha(fechas[std::size_t(i)].addDays(Entre(5, 21))), Texto(Elegir(kLugaresEntrega)), "MXN",
                           Monto(subtotal), Monto(iva), Monto(total), HtmlLineas(lineas), estado, partida, r.comentario,
                           r.operAutoriza, r.fechaAutoriza, r.operRechaza, r.fechaRechaza});
            InsertarPartidas(det, folio, lineas);
        }
    }

    void ReportesGastos()
    {
        constexpr int kTotal = 75, kRevisados = 15, kPrimerFolio = 151;
        auto cab = Preparar(QStringLiteral(
            "INSERT INTO Reportes_Gastos (Rg_Folio, Rg_Fecha, Em_Cve_Empleado, Dp_Cve_Departamento, Rg_Motivo, Rg_Destino,"
            " Rg_Periodo_Inicio, Rg_Periodo_Fin, Rg_Subtotal, Rg_Iva, Rg_Total, Rg_Anticipo, Rg_Por_Reembolsar, Rg_Detalle_Html,"
            " Rg_Estado, Rg_Monto_Reembolso, Rg_Cuenta_Contable, Rg_Comentario_Revision, Rg_Oper_Autoriza, Rg_Fecha_Autoriza,"
            " Rg_Oper_Rechaza, Rg_Fecha_Rechaza) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        auto det = Preparar(QStringLiteral(
            "INSERT INTO Reportes_Gastos_Detalle (Rg_Folio, Gd_Partida, Gd_Fecha, Gd_Concepto, Gd_Proveedor, Gd_Comprobante,"
            " Gd_Subtotal, Gd_Iva, Gd_Importe) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));

        const auto fechas = Fechas(kTotal, 100);
        for (int i = 0; i < kTotal; ++i) {
            const QString folio = QStringLiteral("GAS-2025-%1").arg(kPrimerFolio + i, 4, 10, QLatin1Char('0'));
            const QDate fecha = fechas[std::size_t(i)];
            const Empleado& e = kEmpleados[std::size_t(Elegir(kViajeros))];
            const Departamento& d = DepartamentoDe(e);
            const QDate fin = fecha.addDays(-Entre(1, 4));
            const QDate inicio = fin.addDays(-Entre(0, 4));

            struct Gasto { QDate fecha; QString concepto, proveedor, comprobante; Centavos subtotal, iva, importe; };
            std::vector<Gasto> gastos;
            const int n = Entre(1, 8);
            for (int k = 0; k < n; ++k) {
                const ConceptoGasto& c = Elegir(kConceptosGasto);
                const Centavos pesos = Entre(0, int((c.maximo - c.minimo) / 100));
                const Centavos importe = c.minimo + pesos * 100 + Entre(0, 99);
                const Centavos subtotal = c.conIva ? (importe * 100 + 58) / 116 : importe;
                const QString comprobante = c.conIva ? QStringLiteral("CFDI %1-%2").arg(QChar(u'A' + Entre(0, 5))).arg(Entre(1000, 98999))
                                                     : QStringLiteral("Sin comprobante");
                gastos.push_back({inicio.addDays(Entre(0, int(inicio.daysTo(fin)))), Q(c.concepto), Q(Elegir(c.proveedores)),
                                  comprobante, subtotal, importe - subtotal, importe});
            }
            std::stable_sort(gastos.begin(), gastos.end(), [](const Gasto& a, const Gasto& b) { return a.fecha < b.fecha; });

            Centavos subtotal = 0, iva = 0;
            QStringList filas;
            int partida = 0;
            for (const auto& g : gastos) {
                subtotal += g.subtotal;
                iva += g.iva;
                filas << QStringLiteral("<tr>") + Celda(QString::number(++partida), true) + Celda(TextoFecha(g.fecha))
                        + Celda(g.concepto) + Celda(g.proveedor) + Celda(g.comprobante)
                        + Celda(QStringLiteral("$ ") + Pesos(g.subtotal), true) + Celda(QStringLiteral("$ ") + Pesos(g.iva), true)
                        + Celda(QStringLiteral("$ ") + Pesos(g.importe), true) + QStringLiteral("</tr>");
            }
            const Centavos total = subtotal + iva;
            // Half of the trips had an advance, in round amounts; a large one
            // leaves a balance in favour of the company.
            const Centavos anticipo = Probable(50) ? 0 : total * Entre(50, 110) / 100 / 50000 * 50000;
            const Centavos saldo = total - anticipo;

            const QString estado = EstadoDe(i, kRevisados);
            const Revision r = Revisar(estado, fecha, "REPORTES_GASTOS", folio, "DFINANZAS", kRechazosGastos);
            const bool autorizado = estado == QLatin1String("AU");
            Ejecutar(cab, {folio, TextoFecha(fecha), e.clave, d.clave, Texto(Elegir(kMotivos)), Texto(Elegir(kDestinos)),
                           TextoFecha(inicio), TextoFecha(fin), Monto(subtotal), Monto(iva), Monto(total), Monto(anticipo),
                           Monto(saldo), filas.join(QLatin1Char('\n')), estado, autorizado ? Monto(saldo) : Nulo(),
                           autorizado ? QVariant(CuentaGastos(d)) : Nulo(), r.comentario, r.operAutoriza, r.fechaAutoriza,
                           r.operRechaza, r.fechaRechaza});
            partida = 0;
            for (const auto& g : gastos)
                Ejecutar(det, {folio, ++partida, TextoFecha(g.fecha), g.concepto, g.proveedor, g.comprobante,
                               Monto(g.subtotal), Monto(g.iva), Monto(g.importe)});
        }
    }

    // Days of paid vacation by completed years of service (federal labour
    // law since 2023).
    static int DiasPorLey(int anios)
    {
        if (anios <= 5)
            return 10 + 2 * std::max(1, anios);
        return 22 + 2 * ((anios - 6) / 5);
    }

    void Vacaciones()
    {
        constexpr int kTotal = 40, kRevisadas = 15, kPrimerFolio = 81;
        auto q = Preparar(QStringLiteral(
            "INSERT INTO Solicitudes_Vacaciones (Sv_Folio, Sv_Fecha, Em_Cve_Empleado, Dp_Cve_Departamento, Sv_Periodo,"
            " Sv_Fecha_Inicio, Sv_Fecha_Fin, Sv_Dias, Sv_Dias_Disponibles, Sv_Observaciones, Sv_Estado, Sv_Dias_Autorizados,"
            " Sv_Comentario_Revision, Sv_Oper_Autoriza, Sv_Fecha_Autoriza, Sv_Oper_Rechaza, Sv_Fecha_Rechaza)"
            " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        const auto fechas = Fechas(kTotal, 100);
        for (int i = 0; i < kTotal; ++i) {
            const QString folio = QStringLiteral("VAC-2025-%1").arg(kPrimerFolio + i, 4, 10, QLatin1Char('0'));
            const QDate fecha = fechas[std::size_t(i)];
            const Empleado& e = Elegir(kEmpleados);
            const QDate ingreso = QDate::fromString(Q(e.ingreso), Qt::ISODate);
            int anios = fecha.year() - ingreso.year();
            if (QDate(fecha.year(), ingreso.month(), ingreso.day()) > fecha)
                --anios;
            const int ley = DiasPorLey(anios);
            const int disponibles = ley - Entre(0, ley / 2);
            const int dias = Entre(1, std::min(disponibles, 10));
            QDate inicio = fecha.addDays(Entre(10, 45));
            while (inicio.dayOfWeek() > 5)
                inicio = inicio.addDays(1);
            QDate fin = inicio;
            for (int habiles = 1; habiles < dias;) {
                fin = fin.addDays(1);
                if (fin.dayOfWeek() <= 5)
                    ++habiles;
            }
            const QString periodo = QStringLiteral("%1-%2").arg(fecha.year() - 1).arg(fecha.year());
            const QString estado = EstadoDe(i, kRevisadas);
            const Revision r = Revisar(estado, fecha, "SOLICITUDES_VACACIONES", folio, "RHUMANOS", kRechazosVacaciones);
            Ejecutar(q, {folio, TextoFecha(fecha), e.clave, e.departamento, periodo, TextoFecha(inicio), TextoFecha(fin), dias,
                         disponibles, Texto(Elegir(kObservacionesVacaciones)), estado,
                         estado == QLatin1String("AU") ? QVariant(dias) : QVariant(QMetaType::fromType<int>()), r.comentario,
                         r.operAutoriza, r.fechaAutoriza, r.operRechaza, r.fechaRechaza});
        }
    }

    void Comentarios()
    {
        auto q = Preparar(QStringLiteral("INSERT INTO Comentarios_Documento (Cd_Tabla, Cd_Folio, Cd_Comentario, Cd_Operador, Cd_Fecha)"
                                         " VALUES (?, ?, ?, ?, ?)"));
        for (const auto& c : m_comentarios)
            Ejecutar(q, {c.tabla, c.folio, c.texto, c.operador, c.fecha});
    }

    void ConfiguracionesAutorizacion()
    {
        auto q = Preparar(QStringLiteral(
            "INSERT INTO Configuracion_Autorizacion (Ca_Cve_Configuracion_Autorizacion, Ca_Descripcion, Ca_Etiqueta,"
            " Ca_Formato_Impresion, Ca_Tabla, Ca_Tabla_Clave, Ca_Sql, Ca_Sql_Autoriazion, Ca_Campos_Autorizar, Ca_Sql_Plantilla,"
            " Ca_Plantilla_Autorizacion, Ca_Sql_Rechazar, Fecha_Alta, Fecha_Ult_Modif, Oper_Alta, Oper_Ult_Modif, Oper_Baja,"
            " Fecha_Baja, Es_Cve_Estado) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        for (const auto& c : Configuraciones()) {
            const bool baja = c.fechaBaja != nullptr;
            // An active row looks as a reactivated one does: no delete operator, no delete date.
            Ejecutar(q, {c.clave, Texto(c.descripcion), Texto(c.etiqueta), c.formato, c.tabla, c.tablaClave, c.sql,
                         c.autorizacion, c.campos, c.plantillaSql, c.plantilla, c.rechazo, c.fechaAlta, c.fechaModif,
                         c.operAlta, c.operModif, baja ? c.operModif : "", baja ? QVariant(c.fechaBaja) : Nulo(), c.estado});
        }
    }

    void FormatosImpresion()
    {
        auto q = Preparar(QStringLiteral("INSERT INTO Formatos_Impresion (Fi_Cve_Formato, Fi_Descripcion, Fi_Sql, Fi_Plantilla)"
                                         " VALUES (?, ?, ?, ?)"));
        Ejecutar(q, {"OC_AUTORIZADA", Texto("Orden de compra autorizada para envío al proveedor"), kSqlOrdenAutorizada,
                     Texto(kPlantillaOrdenAutorizada)});
    }

    QSqlDatabase& m_db;
    QRandomGenerator m_rng;
    std::vector<Comentario> m_comentarios;
};

} // namespace

QDate DatosDemo::FechaBase()
{
    return QDate(2025, 6, 30);
}

bool DatosDemo::Existe(QSqlDatabase& db)
{
    QSqlQuery q(db);
    return q.exec(QStringLiteral("SELECT COUNT(*) FROM Configuracion_Autorizacion")) && q.next() && q.value(0).toLongLong() > 0;
}

void DatosDemo::Cargar(QSqlDatabase& db)
{
    EsquemaBaseDatos::Crear(db);
    if (!db.transaction())
        throw std::runtime_error(("No se pudo iniciar la transacción: " + db.lastError().text()).toStdString());
    try {
        Cargador(db).Todo();
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit()) {
        const QString error = db.lastError().text();
        db.rollback();
        throw std::runtime_error(error.toStdString());
    }
}

} // namespace orvinda
