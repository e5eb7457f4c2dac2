#include "DemoPage.h"

#include <QtWidgets/QFormLayout>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QVBoxLayout>

namespace gallery {

TDemoPage::TDemoPage(const QString &title, const QString &description, QWidget *parent)
    : QWidget(parent)
{
    auto *heading = new QLabel(title);
    QFont headingFont = heading->font();
    headingFont.setPixelSize(headingFont.pixelSize() + 4);
    headingFont.setBold(true);
    heading->setFont(headingFont);
    auto *about = new QLabel(description);
    about->setWordWrap(true);

    auto *instances = new QGroupBox(tr("Instances"));
    auto *instancesColumn = new QVBoxLayout(instances);
    FInstances = new QGridLayout;
    FInstances->setColumnStretch(1, 1);
    FInstances->setVerticalSpacing(10);
    instancesColumn->addLayout(FInstances);
    // Keeps the instances together at the top when the editors column is taller.
    instancesColumn->addStretch(1);
    auto *editors = new QGroupBox(tr("Properties of the first instance"));
    FEditors = new QFormLayout(editors);

    auto *body = new QHBoxLayout;
    body->addWidget(instances, 3);
    body->addWidget(editors, 2);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(about);
    layout->addLayout(body);
    layout->addStretch(1);
}

void TDemoPage::AddInstance(const QString &caption, QWidget *control)
{
    // An unresized widget reports Qt's arbitrary 640 x 480: take its size hint then.
    control->setFixedSize(control->testAttribute(Qt::WA_Resized) ? control->size() : control->sizeHint());
    const int row = FInstances->rowCount();
    FInstances->addWidget(new QLabel(caption), row, 0);
    FInstances->addWidget(control, row, 1, Qt::AlignLeft | Qt::AlignVCenter);
}

void TDemoPage::AddEditor(const QString &label, QWidget *editor)
{
    if (editor)
        FEditors->addRow(label, editor);
}

} // namespace gallery
