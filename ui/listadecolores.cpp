// SPDX-FileCopyrightText: 2026 Los autores de Coltavenira
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/listadecolores.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QColor>
#include <QCompleter>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QIconEngine>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

#include <algorithm>
#include <array>
#include <string_view>

namespace {

struct ColorDeBanda
{
    std::string_view nombre;
    QRgb rgb;
};

// The usual colours of the resistor colour code. "Ninguna" has none: its swatch is left empty.
constexpr std::array<ColorDeBanda, 14> coloresDeBanda{{
    {"Negro", 0x000000},
    {"Marron", 0x8b4513},
    {"Rojo", 0xe00000},
    {"Naranja", 0xff8c00},
    {"Amarillo", 0xffe600},
    {"Verde", 0x00a000},
    {"Azul", 0x0050ff},
    {"Violeta", 0x8f00ff},
    {"Gris", 0x808080},
    {"Blanco", 0xffffff},
    {"Dorado", 0xd4af37},
    {"Dorada", 0xd4af37},
    {"Plateado", 0xc0c0c0},
    {"Plateada", 0xc0c0c0},
}};

QColor colorDe(std::string_view nombre)
{
    const auto color = std::ranges::find(coloresDeBanda, nombre, &ColorDeBanda::nombre);
    return color == coloresDeBanda.end() ? QColor() : QColor(color->rgb);
}

// A square of the band's colour, drawn at whatever size and pixel density the list asks for.
// Its edge takes the text colour, so that black on a dark list and white on a light one show.
class Muestra : public QIconEngine
{
public:
    explicit Muestra(QColor color) : color(color) {}

    void paint(QPainter* pintor, const QRect& caja, QIcon::Mode, QIcon::State) override
    {
        const int lado = std::min(caja.width(), caja.height()) - 2;
        QRectF cuadro(0, 0, lado, lado);
        cuadro.moveCenter(QRectF(caja).center());
        pintor->save();
        pintor->setRenderHint(QPainter::Antialiasing, false);
        pintor->setPen(QPen(QGuiApplication::palette().color(QPalette::Text), 0));
        pintor->setBrush(color.isValid() ? QBrush(color) : QBrush(Qt::NoBrush));
        pintor->drawRect(cuadro);
        pintor->restore();
    }

    QIconEngine* clone() const override { return new Muestra(color); }

private:
    QColor color;
};

// Draws the swatches in the open list only. As the items' own icons they would also show in
// the closed list, where they would narrow its edit field.
class DelegadoConMuestras : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* opcion, const QModelIndex& indice) const override
    {
        QStyledItemDelegate::initStyleOption(opcion, indice);
        opcion->features |= QStyleOptionViewItem::HasDecoration;
        opcion->icon = QIcon(new Muestra(indice.data(Qt::UserRole).value<QColor>()));
        const int lado = opcion->fontMetrics.height();
        opcion->decorationSize = QSize(lado, lado); // a swatch as tall as its name
    }
};

// What assistive technology is told of a list. Qt's own combo box on Linux gives its current
// text as its name, so that once a colour is chosen nothing says which band the list is: here
// the name is always the band, and the value, also given as the list's read-only text (how
// AT-SPI tells a value in words), is the colour chosen.
class AccesoDeLista : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit AccesoDeLista(QComboBox* lista) : QAccessibleWidget(lista, QAccessible::ComboBox) {}

    void* interface_cast(QAccessible::InterfaceType tipo) override
    {
        if (tipo == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(tipo);
    }

    int childCount() const override { return 2; }

    QAccessibleInterface* child(int indice) const override
    {
        if (indice == 0)
            return QAccessible::queryAccessibleInterface(lista()->view());
        if (indice == 1)
            return QAccessible::queryAccessibleInterface(lista()->lineEdit());
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface* hijo) const override
    {
        if (hijo->object() == lista()->view())
            return 0;
        return hijo->object() == lista()->lineEdit() ? 1 : -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QLineEdit* campo = lista()->lineEdit();
        return campo->rect().contains(campo->mapFromGlobal(QPoint(x, y))) ? child(1) : nullptr;
    }

    // The list is the edit field's focus proxy: the field itself never has the focus.
    QAccessibleInterface* focusChild() const override { return child(1); }

    QString text(QAccessible::Text que) const override
    {
        return que == QAccessible::Value ? colorElegido() : QAccessibleWidget::text(que);
    }

    // The read-only text: the colour chosen, with neither cursor nor selection.
    QString text(int inicio, int fin) const override
    {
        return colorElegido().mid(inicio, fin - inicio);
    }
    int characterCount() const override { return int(colorElegido().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    int selectionCount() const override { return 0; }
    void selection(int, int* inicio, int* fin) const override { *inicio = *fin = 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int desplazamiento, int* inicio, int* fin) const override
    {
        *inicio = *fin = desplazamiento;
        return {};
    }

    QAccessible::State state() const override
    {
        QAccessible::State estado = QAccessibleWidget::state();
        estado.expandable = true;
        estado.expanded = lista()->view()->isVisible();
        return estado;
    }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }

    void doAction(const QString& accion) override
    {
        if (accion != showMenuAction() && accion != pressAction())
            return;
        if (lista()->view()->isVisible())
            lista()->hidePopup();
        else
            lista()->showPopup();
    }

private:
    QComboBox* lista() const { return static_cast<QComboBox*>(widget()); }
    QString colorElegido() const { return lista()->itemText(lista()->currentIndex()); }
};

QAccessibleInterface* accesoDeLista(const QString& clase, QObject* objeto)
{
    if (clase == QLatin1String(ListaDeColores::staticMetaObject.className()))
        return new AccesoDeLista(static_cast<ListaDeColores*>(objeto));
    return nullptr;
}

} // namespace

ListaDeColores::ListaDeColores(std::span<const coltavenira::Par> tabla, const QString& nombre,
                               QWidget* parent)
    : QComboBox(parent)
{
    [[maybe_unused]] static const bool accesoInstalado = [] {
        QAccessible::installFactory(accesoDeLista);
        return true;
    }();

    // Completion would turn typing into choosing. An edit field that comes without a completer
    // gets one from QComboBox over the list's items; an empty one costs far less at start.
    auto* campo = new QLineEdit(this);
    campo->setCompleter(new QCompleter(campo));
    campo->setAcceptDrops(false); // a drop would change the text while the field has no focus
    setLineEdit(campo);
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    for (const auto& par : tabla) {
        addItem(QString::fromUtf8(par.color.data(), static_cast<qsizetype>(par.color.size())),
                colorDe(par.color));
    }
    setCurrentIndex(-1);
    setMaxVisibleItems(count());
    setAccessibleName(nombre);
    campo->setAccessibleName(nombre);

    connect(this, &QComboBox::activated, this, [this] {
        devolverElColorElegido();
        emit colorElegido();
    });
}

// The swatches are drawn by the open list's delegate, set when the list first opens: asking for
// the list's view builds its popup, which the window would otherwise pay for at start.
void ListaDeColores::showPopup()
{
    if (!dynamic_cast<DelegadoConMuestras*>(itemDelegate()))
        setItemDelegate(new DelegadoConMuestras(this));
    QComboBox::showPopup();
}

// The current item only ever moves by a choice from the list, so it is the colour last chosen.
void ListaDeColores::devolverElColorElegido()
{
    const QString elegido = itemText(currentIndex()); // empty while none is chosen
    if (lineEdit()->text() != elegido)
        lineEdit()->setText(elegido);
}

bool ListaDeColores::event(QEvent* evento)
{
    // Typing ends with Enter or Escape in the edit field, or when the field loses the focus to
    // anything but its own menu (Paste, Undo): the list's opening included, which shows the
    // colour last chosen in the field and in the list alike. QComboBox would then choose the
    // item whose text was typed: silenced, the field shows the colour last chosen again instead.
    bool finDeLoEscrito = false;
    if (evento->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(evento)->key();
        finDeLoEscrito =
            tecla == Qt::Key_Return || tecla == Qt::Key_Enter || tecla == Qt::Key_Escape;
    } else if (evento->type() == QEvent::FocusOut) {
        const QWidget* emergente = QApplication::activePopupWidget();
        finDeLoEscrito = static_cast<QFocusEvent*>(evento)->reason() != Qt::PopupFocusReason ||
                         !emergente || emergente->parentWidget() != lineEdit();
    }
    if (!finDeLoEscrito)
        return QComboBox::event(evento);

    bool hecho = false;
    {
        const QSignalBlocker silencio(lineEdit());
        hecho = QComboBox::event(evento);
    }
    devolverElColorElegido();
    return hecho;
}
