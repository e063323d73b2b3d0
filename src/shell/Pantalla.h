#pragma once

#include <QObject>

namespace rm640 {

// The component's one creatable class. The shell reaches its member by name.
class Pantalla : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QObject* GetPantalla READ GetPantalla)

public:
    static constexpr const char* IdPrograma = "RM640.Pantalla";
    static constexpr const char* Clsid = "{5E0C6D2A-8B1F-4C3A-9D64-0A1B2C3D4E64}";

    explicit Pantalla(QObject* parent = nullptr);
    ~Pantalla() override;

    // The inbox form: created on first use, the same instance afterwards.
    QObject* GetPantalla() const;

    static int ObjetosVivos();
};

} // namespace rm640
