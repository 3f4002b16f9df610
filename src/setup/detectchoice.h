#pragma once

#include <QList>

class QWidget;
struct Installation;

// `detectChoice`: lists the installations found, one row per game folder in `lstInstalls`, and
// waits. The chosen row, or -1 on "Annuler".
int chooseInstallation(QWidget *parent, const QList<Installation> &installations);
