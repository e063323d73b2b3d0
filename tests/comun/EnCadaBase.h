#pragma once

#include "comun/ServidorPostgres.h"
#include "servicios/ServidorPaginas.h"

#include <gtest/gtest.h>

// A fixture whose database is the tests' own SQLite file (false) or a new
// database on their PostgreSQL (true), which is skipped where no server can
// start.
template <typename Base>
class EnCadaMotor : public Base, public ::testing::WithParamInterface<bool>
{
protected:
    void SetUp() override
    {
        if (this->GetParam()) {
            static ServidorPostgres servidor;
            static int bases = 0;
            if (!servidor.Activo())
                GTEST_SKIP() << servidor.Motivo().toStdString();
            const QString nombre = QStringLiteral("base_%1").arg(++bases);
            ASSERT_TRUE(servidor.CrearBaseDatos(nombre));
            cadena = servidor.CadenaOdbc(nombre);
        }
        Base::SetUp();
    }
    QString DestinoBaseDatos() override { return this->GetParam() ? cadena : Base::DestinoBaseDatos(); }
    bool EnPostgres() const { return this->GetParam(); }

    QString cadena;
};

// The same on the demo database; primero is the first pending requisition.
template <typename Base>
class EnCadaBase : public EnCadaMotor<Base>
{
protected:
    void SetUp() override
    {
        EnCadaMotor<Base>::SetUp();
        if (this->IsSkipped() || this->HasFatalFailure())
            return;
        orvinda::ServidorPaginas::Instalar();
        this->g.parametros["GEN_URL"] = "orvinda://web";
        this->CargarDemo();
        primero = this->Valor("SELECT MIN(Rq_Folio) FROM Requisiciones_Compra WHERE Rq_Estado = 'PE'");
    }

    QString primero;
};

// Names each instance by its database.
inline std::string NombreDeBase(const ::testing::TestParamInfo<bool>& i)
{
    return i.param ? "PostgreSQL" : "SQLite";
}
