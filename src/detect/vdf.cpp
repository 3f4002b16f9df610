#include "detect/vdf.h"

#include "files/outsidefile.h"

namespace {

enum class TokenKind { Text, Open, Close, End, Error };

struct Token {
    TokenKind kind = TokenKind::End;
    QString text;
};

// Splits the text into strings and braces; comments and conditionals such as [$WIN32] are
// dropped. Every step advances, so a malformed text ends in Error or End, never in a loop.
class Tokenizer
{
public:
    explicit Tokenizer(const QByteArray &text)
        : m_text(text)
    {
    }

    Token next()
    {
        for (;;) {
            skipBlanks();
            if (m_pos >= m_text.size())
                return Token{TokenKind::End, {}};
            const char c = m_text.at(m_pos);
            if (c == '/' && m_pos + 1 < m_text.size() && m_text.at(m_pos + 1) == '/') {
                while (m_pos < m_text.size() && m_text.at(m_pos) != '\n')
                    ++m_pos;
                continue;
            }
            if (c == '{') {
                ++m_pos;
                return Token{TokenKind::Open, {}};
            }
            if (c == '}') {
                ++m_pos;
                return Token{TokenKind::Close, {}};
            }
            if (c == '"')
                return quoted();
            if (c == '[') {
                // A platform conditional: it qualifies the entry before it and is not kept.
                const qsizetype end = m_text.indexOf(']', m_pos);
                if (end < 0)
                    return Token{TokenKind::Error, {}};
                m_pos = end + 1;
                continue;
            }
            return bare();
        }
    }

private:
    static bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    void skipBlanks()
    {
        while (m_pos < m_text.size() && isBlank(m_text.at(m_pos)))
            ++m_pos;
    }

    Token quoted()
    {
        QByteArray bytes;
        ++m_pos; // opening quote
        while (m_pos < m_text.size()) {
            const char c = m_text.at(m_pos++);
            if (c == '"')
                return Token{TokenKind::Text, QString::fromUtf8(bytes)};
            if (c == '\\' && m_pos < m_text.size()) {
                const char escaped = m_text.at(m_pos++);
                switch (escaped) {
                case '\\': bytes.append('\\'); break;
                case '"': bytes.append('"'); break;
                case 'n': bytes.append('\n'); break;
                case 't': bytes.append('\t'); break;
                default:
                    // Not an escape Steam writes: both characters stand as they are.
                    bytes.append('\\');
                    bytes.append(escaped);
                    break;
                }
                continue;
            }
            bytes.append(c);
        }
        return Token{TokenKind::Error, {}}; // no closing quote
    }

    Token bare()
    {
        const qsizetype start = m_pos;
        while (m_pos < m_text.size()) {
            const char c = m_text.at(m_pos);
            if (isBlank(c) || c == '{' || c == '}' || c == '"')
                break;
            ++m_pos;
        }
        return Token{TokenKind::Text, QString::fromUtf8(m_text.mid(start, m_pos - start))};
    }

    const QByteArray &m_text;
    qsizetype m_pos = 0;
};

// Reads entries up to the closing brace of the block (or the end of the text at depth 0).
bool parseEntries(Tokenizer &tokens, int depth, QList<VdfNode> &entries)
{
    for (;;) {
        Token key = tokens.next();
        switch (key.kind) {
        case TokenKind::End: return depth == 0;
        case TokenKind::Close: return depth > 0;
        case TokenKind::Open:
        case TokenKind::Error: return false;
        case TokenKind::Text: break;
        }
        Token value = tokens.next();
        VdfNode node;
        node.key = std::move(key.text);
        if (value.kind == TokenKind::Text) {
            node.value = std::move(value.text);
        } else if (value.kind == TokenKind::Open) {
            if (depth + 1 > Vdf::maxDepth)
                return false;
            node.isBlock = true;
            if (!parseEntries(tokens, depth + 1, node.children))
                return false;
        } else {
            return false;
        }
        entries.append(std::move(node));
    }
}

} // namespace

const VdfNode *VdfNode::child(QStringView name) const
{
    for (const VdfNode &node : children) {
        if (node.key.compare(name, Qt::CaseInsensitive) == 0)
            return &node;
    }
    return nullptr;
}

QString VdfNode::text(QStringView name) const
{
    const VdfNode *node = child(name);
    return node && !node->isBlock ? node->value : QString();
}

namespace Vdf {

std::optional<QList<VdfNode>> parse(const QByteArray &text)
{
    if (text.size() > maxBytes)
        return std::nullopt;
    Tokenizer tokens(text);
    QList<VdfNode> entries;
    if (!parseEntries(tokens, 0, entries))
        return std::nullopt;
    return entries;
}

std::optional<QList<VdfNode>> parseFile(const QString &path)
{
    QByteArray text;
    if (OutsideFile::read(path, maxBytes, &text) != OutsideFile::Status::Ok)
        return std::nullopt;
    return parse(text);
}

std::optional<VdfNode> root(const std::optional<QList<VdfNode>> &entries, QStringView rootKey)
{
    if (!entries)
        return std::nullopt;
    for (const VdfNode &node : *entries) {
        if (node.key.compare(rootKey, Qt::CaseInsensitive) == 0)
            return node;
    }
    return std::nullopt;
}

} // namespace Vdf
