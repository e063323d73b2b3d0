#include "host/datos/Vigia.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace orvinda {

using Reloj = std::chrono::steady_clock;

struct Vigia::Guardia::Entrada
{
    Reloj::time_point cancelarEn;
    Reloj::time_point abandonarEn;
    Acciones acciones;
    bool cancelada = false;
    bool abandonada = false;
};

namespace {

std::atomic<int> g_aparte{0};

class Vigilante
{
public:
    static Vigilante& Unico()
    {
        static Vigilante vigilante;
        return vigilante;
    }

    void Armar(const std::shared_ptr<Vigia::Guardia::Entrada>& entrada)
    {
        const std::lock_guard bloqueo(m_mutex);
        if (!m_hilo.joinable())
            m_hilo = std::thread([this] { Vigilar(); });
        m_entradas.push_back(entrada);
        m_cambio.notify_one();
    }

    void Desarmar(const std::shared_ptr<Vigia::Guardia::Entrada>& entrada)
    {
        // Taken while an action runs: once this returns, none will.
        const std::lock_guard bloqueo(m_mutex);
        std::erase(m_entradas, entrada);
    }

    template <typename Lectura>
    bool Leer(Lectura lectura)
    {
        const std::lock_guard bloqueo(m_mutex);
        return lectura();
    }

private:
    Vigilante() = default;
    ~Vigilante()
    {
        {
            const std::lock_guard bloqueo(m_mutex);
            m_fin = true;
            m_cambio.notify_one();
        }
        if (m_hilo.joinable())
            m_hilo.join();
    }

    void Vigilar()
    {
        std::unique_lock bloqueo(m_mutex);
        while (!m_fin) {
            Reloj::time_point proxima = Reloj::time_point::max();
            const Reloj::time_point ahora = Reloj::now();
            for (const auto& e : m_entradas) {
                if (!e->cancelada && ahora >= e->cancelarEn) {
                    e->cancelada = true;
                    if (e->acciones.cancelar)
                        e->acciones.cancelar();
                }
                if (!e->abandonada && ahora >= e->abandonarEn) {
                    e->abandonada = true;
                    if (e->acciones.abandonar)
                        e->acciones.abandonar();
                }
                if (!e->cancelada)
                    proxima = std::min(proxima, e->cancelarEn);
                else if (!e->abandonada)
                    proxima = std::min(proxima, e->abandonarEn);
            }
            if (proxima == Reloj::time_point::max())
                m_cambio.wait(bloqueo);
            else
                m_cambio.wait_until(bloqueo, proxima);
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_cambio;
    std::vector<std::shared_ptr<Vigia::Guardia::Entrada>> m_entradas;
    std::thread m_hilo;
    bool m_fin = false;
};

} // namespace

Vigia::Guardia::Guardia(std::chrono::milliseconds limite, Acciones acciones)
{
    if (limite.count() <= 0)
        return;
    const Reloj::time_point inicio = Reloj::now();
    m_entrada = std::make_shared<Entrada>(
        Entrada{inicio + limite + MargenCancelar, inicio + limite + MargenAbandonar, std::move(acciones)});
    Vigilante::Unico().Armar(m_entrada);
}

Vigia::Guardia::~Guardia()
{
    if (m_entrada)
        Vigilante::Unico().Desarmar(m_entrada);
}

void Vigia::Guardia::AlCancelar(std::function<void()> cancelar)
{
    if (m_entrada)
        Vigilante::Unico().Leer([&] {
            m_entrada->acciones.cancelar = std::move(cancelar);
            return true;
        });
}

bool Vigia::Guardia::Cancelada() const
{
    return m_entrada && Vigilante::Unico().Leer([this] { return m_entrada->cancelada; });
}

bool Vigia::Guardia::Abandonada() const
{
    return m_entrada && Vigilante::Unico().Leer([this] { return m_entrada->abandonada; });
}

void Vigia::Aparte(std::function<void()> accion)
{
    ++g_aparte;
    std::thread([accion = std::move(accion)] {
        accion();
        --g_aparte;
    }).detach();
}

int Vigia::AparteEnCurso()
{
    return g_aparte.load();
}

} // namespace orvinda
