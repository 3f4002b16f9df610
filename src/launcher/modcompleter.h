#pragma once

#include <QString>

class QLineEdit;

// Offers the mods installed in the game folder to a text box that stays free text: each
// folder's name, with the mod's own name shown beside it. Replaces an earlier offer.
void offerInstalledMods(QLineEdit *box, const QString &gameFolder);
