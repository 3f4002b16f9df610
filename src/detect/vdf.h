#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// One entry of Steam's text format: a key with either a text value or a block of entries.
struct VdfNode {
    QString key;
    QString value;
    QList<VdfNode> children;
    bool isBlock = false;

    // The first child whose key equals `name` without regard to letter case; null when none.
    const VdfNode *child(QStringView name) const;
    // The text value of that child; empty when missing or when it is a block.
    QString text(QStringView name) const;
};

namespace Vdf {

inline constexpr qsizetype maxBytes = 1024 * 1024;
inline constexpr int maxDepth = 32;

// The top-level entries of a file in Steam's text format: quoted (or bare) keys and values,
// `{ }` blocks, the escapes \\ \" \n \t, `//` comments. Nothing when the text is larger than
// maxBytes, nests deeper than maxDepth or is malformed.
std::optional<QList<VdfNode>> parse(const QByteArray &text);

// The same for a file; nothing when it is missing, unreadable or larger than maxBytes (which
// is checked before anything is read).
std::optional<QList<VdfNode>> parseFile(const QString &path);

// The first top-level entry whose key equals `rootKey` without regard to letter case.
std::optional<VdfNode> root(const std::optional<QList<VdfNode>> &entries, QStringView rootKey);

} // namespace Vdf
