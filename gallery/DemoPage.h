#pragma once

#include <QtWidgets/QWidget>

class QFormLayout;
class QGridLayout;

namespace gallery {

/// The frame every page shares: a title and a short description on top, the
/// control's instances on the left, the live editors on the right.
class TDemoPage : public QWidget
{
    Q_OBJECT

public:
    TDemoPage(const QString &title, const QString &description, QWidget *parent);

    /// Shows `control` under `caption` at the size it was given (controls set
    /// their own default size when constructed), else at its size hint.
    void AddInstance(const QString &caption, QWidget *control);
    /// Adds a labelled editor row; a null editor is skipped.
    void AddEditor(const QString &label, QWidget *editor);

private:
    QGridLayout *FInstances;
    QFormLayout *FEditors;
};

} // namespace gallery
