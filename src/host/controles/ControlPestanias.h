#pragma once

#include <QTabWidget>

namespace orvinda {

// What both tab controls share: a tab count that grows with empty tabs and
// shrinks from the end, captions with "&" access keys (Alt with the
// character selects the tab), and one canvas per tab for the form's controls.
//
// A canvas has its origin at the control's own top-left corner, not below the
// tab strip, because the forms were designed that way: a frame at top 540 on
// a tab sits 540 twips below the control's top edge, tab strip included.
class ControlPestanias : public QTabWidget
{
    Q_OBJECT
    Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)

public:
    explicit ControlPestanias(QWidget* parent = nullptr);

    int NumeroPestanias() const { return count(); }
    // At least one tab; throws ErrorRm below that. Shrinking deletes the last
    // tabs together with the controls on them.
    void setNumeroPestanias(int pestanias);
    QString Titulo(int pestania) const;
    void setTitulo(int pestania, const QString& titulo);
    // The canvas of a tab, to parent controls placed on it. Throws ErrorRm out of range.
    QWidget* Pagina(int pestania) const;

    bool TabStop() const;
    void setTabStop(bool si);

protected:
    void ComprobarIndice(int pestania) const;
    bool event(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;
    void tabInserted(int index) override;

private:
    void Recolocar();
};

} // namespace orvinda
