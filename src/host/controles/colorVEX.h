#pragma once

#include <QColor>
#include <QObject>

namespace orvinda {

// Colour scheme of a form; a plain object, invisible, made a child of the
// form it colours. Defaults are the shell's standard scheme; a form that
// wants another sets the properties by name.
class colorVEX : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QColor backcolor MEMBER m_backcolor)
    Q_PROPERTY(QColor calendarbackcolor MEMBER m_calendarbackcolor)
    Q_PROPERTY(QColor calendarforecolor MEMBER m_calendarforecolor)
    Q_PROPERTY(QColor calendartitlebackcolor MEMBER m_calendartitlebackcolor)
    Q_PROPERTY(QColor calendartitleforecolor MEMBER m_calendartitleforecolor)
    Q_PROPERTY(QColor calendartrailingforecolor MEMBER m_calendartrailingforecolor)
    Q_PROPERTY(QColor dbgridbackcolor MEMBER m_dbgridbackcolor)
    Q_PROPERTY(QColor dbgridbackcoloreven MEMBER m_dbgridbackcoloreven)
    Q_PROPERTY(QColor dbgridbackcolorodd MEMBER m_dbgridbackcolorodd)
    Q_PROPERTY(QColor enablecolor MEMBER m_enablecolor)
    Q_PROPERTY(QColor disablecolor MEMBER m_disablecolor)
    Q_PROPERTY(QColor focuscolor MEMBER m_focuscolor)
    Q_PROPERTY(double labelfontsize MEMBER m_labelfontsize)
    Q_PROPERTY(double textfontsize MEMBER m_textfontsize)
    Q_PROPERTY(QColor menubackcolor MEMBER m_menubackcolor)
    Q_PROPERTY(QColor menufontbackcolor MEMBER m_menufontbackcolor)
    Q_PROPERTY(QColor menuselbackcolor MEMBER m_menuselbackcolor)

public:
    explicit colorVEX(QObject* parent = nullptr);

    // Colours the parent form and every control it holds at this moment;
    // call it again after loading more controls. Does nothing without a
    // parent widget.
    void AplicarColores();

private:
    QColor m_backcolor{245, 245, 245};
    QColor m_calendarbackcolor{255, 255, 192};
    QColor m_calendarforecolor{0, 0, 128};
    QColor m_calendartitlebackcolor{137, 177, 201};
    QColor m_calendartitleforecolor{255, 255, 255};
    QColor m_calendartrailingforecolor{0, 83, 138};
    QColor m_dbgridbackcolor{255, 255, 192};
    QColor m_dbgridbackcoloreven{255, 255, 255};
    QColor m_dbgridbackcolorodd{255, 255, 255};
    QColor m_enablecolor{255, 255, 255};
    QColor m_disablecolor{224, 224, 224};
    QColor m_focuscolor{255, 255, 255};
    double m_labelfontsize = 8.25;
    double m_textfontsize = 8.25;
    QColor m_menubackcolor{179, 204, 221};
    QColor m_menufontbackcolor{245, 236, 203};
    QColor m_menuselbackcolor{226, 213, 156};
};

} // namespace orvinda
