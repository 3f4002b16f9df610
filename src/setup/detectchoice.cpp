#include "setup/detectchoice.h"

#include "detect/detection.h"
#include "launcher/named.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

int chooseInstallation(QWidget *parent, const QList<Installation> &installations)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("detectChoice"));
    dialog.setWindowTitle(QStringLiteral("Installations de Half-Life"));
    dialog.setWindowModality(Qt::ApplicationModal);

    auto *label = new QLabel(QStringLiteral("Plusieurs installations ont été trouvées. "
                                            "Choisissez celle à utiliser :"),
                             &dialog);
    auto *list = named(new QListWidget(&dialog), "lstInstalls");
    for (const Installation &installation : installations)
        list->addItem(installation.gameFolder);
    list->setCurrentRow(0);
    auto *ok = named(new QPushButton(QStringLiteral("OK"), &dialog), "cmdOK");
    auto *cancel = named(new QPushButton(QStringLiteral("Annuler"), &dialog), "cmdCancel");
    ok->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(label);
    layout->addWidget(list);
    layout->addLayout(buttons);

    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    if (dialog.exec() != QDialog::Accepted || list->currentRow() < 0)
        return -1;
    return list->currentRow();
}
