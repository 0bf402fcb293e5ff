// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/anuncio.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QApplication>
#include <QWidget>

Anuncio::Anuncio(QWidget* origen) : QObject(origen) {}

// Qt 6.8 has an event made for this, the announcement: AT-SPI's announcement signal on Linux
// (Orca 48 speaks it) and a UI Automation notification on Windows. Earlier Qt has no way to have
// a text spoken, and Orca ignores a label's name changes, but it does speak a notification when
// one shows, by its name: there each text is a notification that only assistive technology
// knows of, never drawn.
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)

void Anuncio::decir(const QString& texto)
{
    // Told by the widget with the focus, where there is one: Orca 48 drops an announcement
    // that follows another within 0.1 s unless its object has the focus, and a key held down
    // chooses faster than that, when the last reading is the one that counts.
    QObject* fuente = QApplication::focusWidget() ? QApplication::focusWidget() : parent();
    // Polite: after what the screen reader is saying, the colour just chosen.
    QAccessibleAnnouncementEvent anuncio(fuente, texto);
    anuncio.setPoliteness(QAccessible::AnnouncementPoliteness::Polite);
    QAccessible::updateAccessibility(&anuncio);
}

#else

namespace {

// Each text is a notification of its own: Orca speaks only the last of one notification shown
// again before it got to the first, which quick choices do. The latest few are kept for a
// screen reader that has fallen behind.
constexpr qsizetype guardados = 8;

class AccesoDeAnuncio : public QAccessibleObject
{
public:
    AccesoDeAnuncio(QObject* aviso, const QString& texto) : QAccessibleObject(aviso), texto(texto)
    {
    }

    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override { return {}; }
    QString text(QAccessible::Text que) const override
    {
        return que == QAccessible::Name ? texto : QString();
    }
    // The widget spoken for.
    QAccessibleInterface* parent() const override
    {
        return QAccessible::queryAccessibleInterface(object()->parent()->parent());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

private:
    QString texto;
};

} // namespace

void Anuncio::decir(const QString& texto)
{
    if (!QAccessible::isActive())
        return;
    auto* aviso = new QObject(this);
    // Qt's cache owns the interface, and deletes it with its object.
    QAccessible::registerAccessibleInterface(new AccesoDeAnuncio(aviso, texto));
    QAccessibleEvent mostrado(aviso, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&mostrado);
    if (children().size() > guardados)
        delete children().constFirst();
}

#endif
