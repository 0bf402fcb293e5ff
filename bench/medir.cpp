// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
// Measures, side by side in one run and on the X server of $DISPLAY: the time from process start
// to the first frame of the real program's window and of a bare Qt window, with the peak
// resident memory of both; then, in this process, the latency from a choice in a list to the
// result label showing it, and the cost of one Calcular over every reachable reading.
#include "core/calculadora.h"
#include "ui/form1.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QTest>

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

using Reloj = std::chrono::steady_clock;

double mediana(std::vector<double> valores)
{
    std::sort(valores.begin(), valores.end());
    const std::size_t mitad = valores.size() / 2;
    return valores.size() % 2 ? valores[mitad] : (valores[mitad - 1] + valores[mitad]) / 2;
}

struct Arranque
{
    double milisegundos;
    double memoriaKiB;
};

// Whether the window holds more than one colour: drawn text, not just a cleared background.
bool muestraAlgo(xcb_connection_t* x, xcb_window_t ventana)
{
    xcb_get_geometry_reply_t* caja =
        xcb_get_geometry_reply(x, xcb_get_geometry(x, ventana), nullptr);
    if (!caja)
        return false;
    xcb_get_image_reply_t* imagen = xcb_get_image_reply(
        x,
        xcb_get_image(x, XCB_IMAGE_FORMAT_Z_PIXMAP, ventana, 0, 0, caja->width, caja->height, ~0u),
        nullptr);
    free(caja);
    if (!imagen)
        return false;
    const auto* pixeles = reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(imagen));
    const int cuantos = xcb_get_image_data_length(imagen) / 4;
    const bool algo =
        std::any_of(pixeles, pixeles + cuantos, [&](std::uint32_t p) { return p != pixeles[0]; });
    free(imagen);
    return algo;
}

// The benchmark's one connection to the X server, open from the first start-up to the last. An X
// server resets when its last client leaves, and a connection made while it resets fails: a
// connection for each start-up, closed after it, left the server with no client between two.
class Pantalla
{
public:
    Pantalla() : x(xcb_connect(nullptr, nullptr))
    {
        if (xcb_connection_has_error(x))
            throw std::runtime_error("no X display: run under xvfb-run");
        damage = xcb_get_extension_data(x, &xcb_damage_id);
        if (!damage || !damage->present)
            throw std::runtime_error("the X server lacks the DAMAGE extension");
        xcb_discard_reply(x, xcb_damage_query_version(x, 1, 1).sequence);
        const xcb_window_t raiz = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
        const std::uint32_t mascara = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(x, raiz, XCB_CW_EVENT_MASK, &mascara);
        xcb_flush(x);
    }
    ~Pantalla() { xcb_disconnect(x); }
    Pantalla(const Pantalla&) = delete;
    Pantalla& operator=(const Pantalla&) = delete;

    // Waits for the server to have handled every request, then drops the events of the last
    // start-up, so that none of them is taken for the next one's.
    void vaciar()
    {
        free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr));
        while (xcb_generic_event_t* evento = xcb_poll_for_event(x))
            free(evento);
    }

    xcb_connection_t* x;
    const xcb_query_extension_reply_t* damage;
};

// Starts the program and waits, on the X server, for its window to be mapped and then drawn
// into until it shows something: the time of that damage is the first frame. Then ends it and
// reads its peak resident memory.
Arranque arrancar(Pantalla& pantalla, const char* programa, const char* argumento = nullptr)
{
    xcb_connection_t* x = pantalla.x;
    const xcb_query_extension_reply_t* damage = pantalla.damage;
    pantalla.vaciar();

    const auto inicio = Reloj::now();
    pid_t hijo = 0;
    char* argumentos[] = {const_cast<char*>(programa), const_cast<char*>(argumento), nullptr};
    if (posix_spawn(&hijo, programa, nullptr, nullptr, argumentos, environ) != 0)
        throw std::runtime_error(std::string("cannot start ") + programa);

    xcb_window_t ventana = XCB_NONE;
    xcb_damage_damage_t dano = 0;
    Reloj::time_point primerCuadro{};
    pollfd espera{xcb_get_file_descriptor(x), POLLIN, 0};
    while (primerCuadro == Reloj::time_point{}) {
        xcb_generic_event_t* evento = xcb_poll_for_event(x);
        if (!evento) {
            if (poll(&espera, 1, 10000) <= 0)
                throw std::runtime_error(std::string(programa) + " showed no window");
            continue;
        }
        const int tipo = evento->response_type & 0x7f;
        if (tipo == XCB_MAP_NOTIFY && ventana == XCB_NONE) {
            const auto* mapa = reinterpret_cast<xcb_map_notify_event_t*>(evento);
            if (!mapa->override_redirect) {
                ventana = mapa->window;
                dano = xcb_generate_id(x);
                xcb_damage_create(x, dano, ventana, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                xcb_flush(x);
            }
        } else if (tipo == damage->first_event + XCB_DAMAGE_NOTIFY &&
                   reinterpret_cast<xcb_damage_notify_event_t*>(evento)->drawable == ventana) {
            const auto cuando = Reloj::now();
            xcb_damage_subtract(x, dano, XCB_NONE, XCB_NONE);
            if (muestraAlgo(x, ventana))
                primerCuadro = cuando;
        }
        free(evento);
    }

    kill(hijo, SIGKILL);
    int estado = 0;
    rusage uso{};
    wait4(hijo, &estado, 0, &uso);
    xcb_damage_destroy(x, dano);
    return {std::chrono::duration<double, std::milli>(primerCuadro - inicio).count(),
            static_cast<double>(uso.ru_maxrss)};
}

// Latency from a real key press that chooses the next or previous colour in a list to the
// result label having been painted with the new reading.
std::vector<double> latenciasDeEleccion()
{
    Form1 ventana;
    ventana.show();
    ventana.activateWindow();
    if (!QTest::qWaitForWindowExposed(&ventana))
        throw std::runtime_error("the window was not shown");
    auto* label1 = ventana.findChild<QLabel*>("Label1");

    struct Pintado : QObject
    {
        bool visto = false;
        bool eventFilter(QObject*, QEvent* evento) override
        {
            visto = visto || evento->type() == QEvent::Paint;
            return false;
        }
    } pintado;
    label1->installEventFilter(&pintado);

    std::vector<double> latencias;
    for (int vuelta = 0; vuelta < 5; ++vuelta) {
        for (const char* nombre : {"b1", "b2", "b3", "b4"}) {
            auto* lista = ventana.findChild<QComboBox*>(nombre);
            lista->setFocus();
            for (Qt::Key tecla : {Qt::Key_Down, Qt::Key_Up}) {
                for (int paso = 0; paso < lista->count() - 1; ++paso) {
                    pintado.visto = false;
                    const QString antes = label1->text();
                    const auto inicio = Reloj::now();
                    QTest::keyClick(lista, tecla);
                    // A choice that leaves the reading as it was has nothing to paint.
                    while (label1->text() != antes && !pintado.visto)
                        QCoreApplication::processEvents();
                    latencias.push_back(
                        std::chrono::duration<double, std::milli>(Reloj::now() - inicio).count());
                }
            }
        }
    }
    return latencias;
}

// Nanoseconds of one Calcular for every reachable state of the reading.
std::vector<double> costesDeCalcular()
{
    std::vector<double> costes;
    const std::array<int, 4> largos{10, 10, 12, 3};
    std::array<int, 4> e{};
    for (e[0] = -1; e[0] < largos[0]; ++e[0])
        for (e[1] = -1; e[1] < largos[1]; ++e[1])
            for (e[2] = -1; e[2] < largos[2]; ++e[2])
                for (e[3] = -1; e[3] < largos[3]; ++e[3]) {
                    coltavenira::Lectura lectura;
                    coltavenira::valoresIniciales(lectura);
                    for (int banda = 1; banda <= 4; ++banda) {
                        if (e[banda - 1] >= 0) {
                            coltavenira::elegirColor(
                                lectura, banda,
                                coltavenira::tablaDeBanda(banda)[e[banda - 1]].color);
                        }
                    }
                    constexpr int veces = 200;
                    std::size_t largo = 0;
                    const auto inicio = Reloj::now();
                    for (int i = 0; i < veces; ++i)
                        largo += coltavenira::Calcular(lectura, ",").size();
                    const auto fin = Reloj::now();
                    if (largo == 0)
                        throw std::logic_error("empty reading");
                    costes.push_back(
                        std::chrono::duration<double, std::nano>(fin - inicio).count() / veces);
                }
    return costes;
}

std::string procesador()
{
    std::ifstream cpuinfo("/proc/cpuinfo");
    for (std::string linea; std::getline(cpuinfo, linea);) {
        if (linea.starts_with("model name"))
            return linea.substr(linea.find(':') + 2);
    }
    return "unknown";
}

struct Comparacion
{
    double tiempo, suelo, memoria, memoriaSuelo; // medians: ms, ms, MiB, MiB
};

// Median start-up and peak memory of a program against the floor, started in turns.
Comparacion comparar(Pantalla& pantalla, const char* programa, const char* argumento,
                     const char* suelo, int corridas)
{
    for (int i = 0; i < 2; ++i) { // warm the page cache for both
        arrancar(pantalla, programa, argumento);
        arrancar(pantalla, suelo);
    }
    std::vector<double> tiempo[2], memoria[2];
    for (int i = 0; i < corridas; ++i) {
        for (int cual = 0; cual < 2; ++cual) {
            const Arranque a =
                cual == 0 ? arrancar(pantalla, programa, argumento) : arrancar(pantalla, suelo);
            tiempo[cual].push_back(a.milisegundos);
            memoria[cual].push_back(a.memoriaKiB / 1024);
        }
    }
    return {mediana(tiempo[0]), mediana(tiempo[1]), mediana(memoria[0]), mediana(memoria[1])};
}

} // namespace

// With two programs as arguments, compares their start-ups only.
int main(int argc, char* argv[])
{
    constexpr int corridas = 21;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("machine: %s, %ld cores; Qt %s; %d start-ups each, in turns\n\n",
                procesador().c_str(), sysconf(_SC_NPROCESSORS_ONLN), qVersion(), corridas);

    Pantalla pantalla;
    const Comparacion c = comparar(pantalla, argc == 3 ? argv[1] : PROGRAMA, nullptr,
                                   argc == 3 ? argv[2] : SUELO, corridas);
    std::printf("%-34s %12s %12s %8s %8s\n", "", argc == 3 ? "program" : "coltavenira",
                argc == 3 ? "floor" : "bare Qt", "ratio", "target");
    std::printf("%-34s %9.1f ms %9.1f ms %8.3f %8s\n", "start to first frame (median)", c.tiempo,
                c.suelo, c.tiempo / c.suelo, "1.10");
    std::printf("%-34s %8.1f MiB %8.1f MiB %8.3f %8s\n", "peak resident memory (median)", c.memoria,
                c.memoriaSuelo, c.memoria / c.memoriaSuelo, "1.05");
    if (argc == 3)
        return 0;

    std::printf("\nwhat each part of the window adds to the floor:\n");
    for (const char* parte : {"listas", "resultado", "fuente"}) {
        const Comparacion p = comparar(pantalla, PARTES, parte, SUELO, corridas);
        std::printf("  %-32s %+9.1f ms %+8.2f MiB\n", parte, p.tiempo - p.suelo,
                    p.memoria - p.memoriaSuelo);
    }

    QApplication app(argc, argv);
    const std::vector<double> latencias = latenciasDeEleccion();
    std::printf("\n%-34s %9.3f ms (max %.3f ms, %zu choices; target < 1 ms)\n",
                "choice to label painted (median)", mediana(latencias),
                *std::max_element(latencias.begin(), latencias.end()), latencias.size());
    const std::vector<double> costes = costesDeCalcular();
    std::printf("%-34s %9.0f ns (max %.0f ns, %zu readings; target < 1000 ns)\n",
                "Calcular (median)", mediana(costes),
                *std::max_element(costes.begin(), costes.end()), costes.size());
    return 0;
}
