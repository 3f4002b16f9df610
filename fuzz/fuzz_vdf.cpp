// libFuzzer target for the reader of Steam's text format (libraryfolders.vdf, appmanifest_*.acf)
// and of liblist.gam.
//
// Input: the bytes of a file. Besides "no crash, no hang, no unbounded memory", every run checks:
//  - an accepted text nests at most Vdf::maxDepth levels and is at most Vdf::maxBytes long;
//  - of liblist.gam only the first Liblist::maxBytes count: the bytes after them change nothing;
//  - an accepted text, written back in the plain quoted form (only \\ and \" escaped), reads
//    back as the same entries: keys, values and blocks, in order;
//  - the libraries taken from a text are exactly the all-digit entries of its
//    "libraryfolders" root that have a path.

#include "detect/detection.h"
#include "detect/liblist.h"
#include "detect/vdf.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "broken property: %s\n", what);
    std::abort();
}

QByteArray quoted(const QString &text)
{
    QByteArray bytes = text.toUtf8();
    bytes.replace("\\", "\\\\");
    bytes.replace("\"", "\\\"");
    return '"' + bytes + '"';
}

void write(const QList<VdfNode> &entries, QByteArray &out)
{
    for (const VdfNode &node : entries) {
        out += quoted(node.key);
        if (node.isBlock) {
            out += " {\n";
            write(node.children, out);
            out += "}\n";
        } else {
            out += ' ' + quoted(node.value) + '\n';
        }
    }
}

int depth(const QList<VdfNode> &entries)
{
    int deepest = 0;
    for (const VdfNode &node : entries) {
        if (node.isBlock)
            deepest = std::max(deepest, 1 + depth(node.children));
    }
    return deepest;
}

bool same(const QList<VdfNode> &a, const QList<VdfNode> &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const VdfNode &x = a.at(i);
        const VdfNode &y = b.at(i);
        if (x.key != y.key || x.isBlock != y.isBlock || x.value != y.value
            || !same(x.children, y.children))
            return false;
    }
    return true;
}

QStringList expectedLibraries(const QList<VdfNode> &entries)
{
    QStringList paths;
    for (const VdfNode &root : entries) {
        if (root.key.compare(u"libraryfolders", Qt::CaseInsensitive) != 0)
            continue;
        if (!root.isBlock)
            return paths;
        for (const VdfNode &entry : root.children) {
            bool digits = !entry.key.isEmpty();
            for (QChar c : entry.key)
                digits = digits && c.isDigit();
            if (!digits)
                continue;
            QString path;
            if (entry.isBlock) {
                for (const VdfNode &field : entry.children) {
                    if (field.key.compare(u"path", Qt::CaseInsensitive) == 0) {
                        path = field.isBlock ? QString() : field.value;
                        break;
                    }
                }
            } else {
                path = entry.value;
            }
            if (!path.isEmpty())
                paths.append(path);
        }
        return paths;
    }
    return paths;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    if (text.size() > Liblist::maxBytes
        && Liblist::parse(text) != Liblist::parse(text.left(Liblist::maxBytes)))
        fail("liblist.gam is read beyond its first maxBytes");

    const std::optional<QList<VdfNode>> entries = Vdf::parse(text);
    const QStringList libraries = Detect::libraryPathsFromVdf(text);
    if (!entries) {
        if (!libraries.isEmpty())
            fail("a refused text gave libraries");
        return 0;
    }
    if (text.size() > Vdf::maxBytes)
        fail("an accepted text is larger than the bound");
    if (depth(*entries) > Vdf::maxDepth)
        fail("an accepted text nests deeper than the bound");
    if (libraries != expectedLibraries(*entries))
        fail("the libraries differ from the all-digit entries of the root");

    QByteArray again;
    write(*entries, again);
    if (again.size() <= Vdf::maxBytes) {
        const std::optional<QList<VdfNode>> reread = Vdf::parse(again);
        if (!reread)
            fail("a text written back from accepted entries is refused");
        if (!same(*entries, *reread))
            fail("a text written back reads as other entries");
    }
    return 0;
}
