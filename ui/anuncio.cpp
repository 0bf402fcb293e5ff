// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/anuncio.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QWidget>

// Qt 6.8 has an event made for this, the announcement: AT-SPI's announcement signal on Linux
// (Orca 48 speaks it) and a UI Automation notification on Windows. Earlier Qt has no way to have
// a text spoken, and Orca ignores a label's name changes, but it does speak a notification when
// one shows, by its name: there this object is a notification that only assistive technology
// knows of, never drawn, shown to it again with each text.
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)

Anuncio::Anuncio(QWidget* origen) : QObject(origen) {}

void Anuncio::decir(const QString& texto)
{
    // Polite: after what the screen reader is saying, the colour just chosen.
    QAccessibleAnnouncementEvent anuncio(parent(), texto);
    anuncio.setPoliteness(QAccessible::AnnouncementPoliteness::Polite);
    QAccessible::updateAccessibility(&anuncio);
}

#else

namespace {

class AccesoDeAnuncio : public QAccessibleObject
{
public:
    explicit AccesoDeAnuncio(Anuncio* anuncio) : QAccessibleObject(anuncio) {}

    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override { return {}; }
    QString text(QAccessible::Text que) const override
    {
        return que == QAccessible::Name ? texto : QString();
    }
    QAccessibleInterface* parent() const override
    {
        return QAccessible::queryAccessibleInterface(object()->parent());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString texto;
};

} // namespace

Anuncio::Anuncio(QWidget* origen) : QObject(origen)
{
    // Qt's cache owns the interface, and deletes it with this object.
    QAccessible::registerAccessibleInterface(new AccesoDeAnuncio(this));
}

void Anuncio::decir(const QString& texto)
{
    auto* acceso = static_cast<AccesoDeAnuncio*>(QAccessible::queryAccessibleInterface(this));
    acceso->texto = texto;
    // A screen reader keeps a name it has read (Orca 48 does) until it is told of a new one.
    QAccessibleEvent nombre(acceso, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nombre);
    QAccessibleEvent mostrado(acceso, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&mostrado);
}

#endif
