#include "find/filter_query.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "data/spell.h"
#include "data/text_encoding.h"
#include "data/text_rules.h"
#include "popup/spell_panel.h"

namespace {

// ---- Fields ---------------------------------------------------------------------

struct FieldEntry {
    const char* name;
    FilterFieldKind kind;
    int which;
};

constexpr std::array kFields = {
    FieldEntry{"name", FilterFieldKind::Text, PANEL_TEXT_NAME},
    FieldEntry{"duration", FilterFieldKind::Text, PANEL_TEXT_DURATION},
    FieldEntry{"timeOfDay", FilterFieldKind::Text, PANEL_TEXT_TIME_OF_DAY},
    FieldEntry{"environment", FilterFieldKind::Text, PANEL_TEXT_ENVIRONMENT},
    FieldEntry{"skill", FilterFieldKind::Text, PANEL_TEXT_SKILL},
    FieldEntry{"beneficial", FilterFieldKind::Text, PANEL_TEXT_BENEFICIAL},
    FieldEntry{"resistType", FilterFieldKind::Text, PANEL_TEXT_RESIST_TYPE},
    FieldEntry{"targetType", FilterFieldKind::Text, PANEL_TEXT_TARGET_TYPE},
    FieldEntry{"linkedSpell", FilterFieldKind::Text, PANEL_TEXT_LINKED_SPELL},
    FieldEntry{"reagentId", FilterFieldKind::Text, PANEL_TEXT_COMPONENTS},
    FieldEntry{"classLevel", FilterFieldKind::Text, PANEL_TEXT_CLASSES},
    FieldEntry{"message1", FilterFieldKind::Text, PANEL_TEXT_MESSAGE1},
    FieldEntry{"message2", FilterFieldKind::Text, PANEL_TEXT_MESSAGE2},
    FieldEntry{"message3", FilterFieldKind::Text, PANEL_TEXT_MESSAGE3},
    FieldEntry{"seconds13", FilterFieldKind::Text, PANEL_TEXT_SECONDS13},
    FieldEntry{"seconds14", FilterFieldKind::Text, PANEL_TEXT_SECONDS14},
    FieldEntry{"seconds15", FilterFieldKind::Text, PANEL_TEXT_SECONDS15},
    FieldEntry{"text", FilterFieldKind::Sentences, 0},
    FieldEntry{"id", FilterFieldKind::Number, FILTER_NUMBER_ID},
    FieldEntry{"col9", FilterFieldKind::Number, FILTER_NUMBER_COL9},
    FieldEntry{"col10", FilterFieldKind::Number, FILTER_NUMBER_COL10},
    FieldEntry{"col11", FilterFieldKind::Number, FILTER_NUMBER_COL11},
    FieldEntry{"col18", FilterFieldKind::Number, FILTER_NUMBER_COL18},
    FieldEntry{"col19", FilterFieldKind::Number, FILTER_NUMBER_COL19},
    FieldEntry{"col147", FilterFieldKind::Number, FILTER_NUMBER_COL147},
    FieldEntry{"ticks", FilterFieldKind::Number, FILTER_NUMBER_TICKS},
    FieldEntry{"effect", FilterFieldKind::Effect, 0},
    FieldEntry{"level", FilterFieldKind::Level, 0},
    FieldEntry{"value", FilterFieldKind::Value, 0},
};

constexpr char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameWord(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

const FieldEntry* FindField(std::string_view word)
{
    for (const FieldEntry& field : kFields) {
        if (SameWord(word, field.name)) return &field;
    }
    return nullptr;
}

constexpr std::array<const char*, 7> kOpTexts = {"=", "!=", "<", "<=", ">", ">=", "~"};

const char* OpText(FilterOp op)
{
    return kOpTexts[static_cast<std::size_t>(op)];
}

bool OpApplies(FilterFieldKind kind, FilterOp op)
{
    switch (kind) {
        case FilterFieldKind::Text:
        case FilterFieldKind::Sentences:
            return op == FilterOp::Equal || op == FilterOp::NotEqual || op == FilterOp::Contains;
        case FilterFieldKind::Effect:
            return op == FilterOp::Equal || op == FilterOp::NotEqual;
        default:
            return op != FilterOp::Contains;
    }
}

bool WantsString(FilterFieldKind kind)
{
    return kind == FilterFieldKind::Text || kind == FilterFieldKind::Sentences;
}

// ---- Tokens ---------------------------------------------------------------------

struct Token {
    enum class Kind : std::uint8_t { End, Word, Number, String, Op, Open, Close, Bad } kind = Kind::End;
    std::size_t begin = 0;  // byte offset in the expression
    std::string_view text;  // as written
    FilterOp op = FilterOp::Equal;
};

constexpr bool IsWordStart(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
constexpr bool IsWordChar(char c)
{
    return IsWordStart(c) || IsDigit(c);
}

// Bytes of the UTF-8 character a lead byte starts, or 0 for a byte no
// character starts with.
constexpr std::size_t Utf8Length(unsigned char lead)
{
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

}  // namespace

// ---- The parser -------------------------------------------------------------------

class FilterParser {
public:
    FilterParser(std::string_view text, FilterQuery& query, FilterError& error)
        : text_(text), query_(query), error_(error)
    {
    }

    bool Run()
    {
        if (!CheckCharacters()) return false;
        Next();
        if (token_.kind == Token::Kind::End) return true;  // blanks only: no filter
        int root = -1;
        if (!Expression(root, 0)) return false;
        if (token_.kind == Token::Kind::Close) return Fail(token_.begin, "unexpected \")\"");
        if (token_.kind != Token::Kind::End) return Fail(token_.begin, "expected \"and\", \"or\" or the end");
        query_.root_ = root;
        return true;
    }

private:
    // ---- Errors, columns --------------------------------------------------------

    int Column(std::size_t offset) const
    {
        int column = 1;
        for (std::size_t i = 0; i < offset && i < text_.size(); ++i) {
            if ((static_cast<unsigned char>(text_[i]) & 0xC0) != 0x80) ++column;
        }
        return column;
    }

    bool Fail(std::size_t offset, const std::string& problem)
    {
        error_.column = Column(offset);
        error_.message = problem + " at column " + std::to_string(error_.column);
        return false;
    }

    static std::string Quoted(std::string_view text)
    {
        // At most 32 bytes, cut before a whole character.
        std::size_t shownBytes = std::min<std::size_t>(text.size(), 32);
        while (shownBytes < text.size() && (static_cast<unsigned char>(text[shownBytes]) & 0xC0) == 0x80)
            --shownBytes;
        std::string shown(text.substr(0, shownBytes));
        if (text.size() > shownBytes) shown += "...";
        return "\"" + shown + "\"";
    }

    // NUL bytes and bytes that are not UTF-8 are refused wherever they stand.
    bool CheckCharacters()
    {
        for (std::size_t i = 0; i < text_.size();) {
            if (text_[i] == '\0') return Fail(i, "NUL character");
            const std::size_t length = Utf8Length(static_cast<unsigned char>(text_[i]));
            if (length == 0 || i + length > text_.size() || !IsValidUtf8(text_.data() + i, length))
                return Fail(i, "invalid UTF-8");
            i += length;
        }
        return true;
    }

    // ---- Tokens -----------------------------------------------------------------

    void Next()
    {
        while (pos_ < text_.size() && IsWhiteSpace(text_[pos_])) ++pos_;
        token_ = Token{};
        token_.begin = pos_;
        if (pos_ >= text_.size()) return;
        const std::size_t start = pos_;
        const char c = text_[pos_];
        auto take = [&](Token::Kind kind, std::size_t length) {
            pos_ += length;
            token_.kind = kind;
            token_.text = text_.substr(start, length);
        };
        auto op = [&](FilterOp which, std::size_t length) {
            take(Token::Kind::Op, length);
            token_.op = which;
        };
        const char after = pos_ + 1 < text_.size() ? text_[pos_ + 1] : '\0';
        if (c == '(') return take(Token::Kind::Open, 1);
        if (c == ')') return take(Token::Kind::Close, 1);
        if (c == '=') return op(FilterOp::Equal, 1);
        if (c == '~') return op(FilterOp::Contains, 1);
        if (c == '!' && after == '=') return op(FilterOp::NotEqual, 2);
        if (c == '<') return after == '=' ? op(FilterOp::LessEqual, 2) : op(FilterOp::Less, 1);
        if (c == '>') return after == '=' ? op(FilterOp::GreaterEqual, 2) : op(FilterOp::Greater, 1);
        if (c == '"') return take(Token::Kind::String, StringLength(start));
        if (IsDigit(c) || ((c == '-' || c == '+') && IsDigit(after))) {
            std::size_t end = start + 1;
            while (end < text_.size() && IsDigit(text_[end])) ++end;
            return take(Token::Kind::Number, end - start);
        }
        if (IsWordStart(c)) {
            std::size_t end = start + 1;
            while (end < text_.size() && IsWordChar(text_[end])) ++end;
            return take(Token::Kind::Word, end - start);
        }
        take(Token::Kind::Bad, Utf8Length(static_cast<unsigned char>(c)));
    }

    // Bytes of the string token at `start`, quotes included; to the end of
    // the expression when it is not closed (String() reports that).
    std::size_t StringLength(std::size_t start) const
    {
        std::size_t i = start + 1;
        while (i < text_.size() && text_[i] != '"') i += text_[i] == '\\' ? 2 : 1;
        return std::min(i + 1, text_.size()) - start;
    }

    bool IsKeyword(std::string_view word) const
    {
        return token_.kind == Token::Kind::Word && SameWord(token_.text, word);
    }

    // ---- Grammar ------------------------------------------------------------------

    int AddNode(FilterNode node)
    {
        query_.nodes_.push_back(std::move(node));
        return static_cast<int>(query_.nodes_.size()) - 1;
    }

    // expr := term { "or" term }; term := factor { "and" factor }. A chain is
    // one node with every operand, so that depth grows only with nesting.
    bool Expression(int& node, int depth) { return Chain(node, depth, "or", FilterNode::Kind::Or); }

    bool Chain(int& node, int depth, std::string_view keyword, FilterNode::Kind kind)
    {
        auto operand = [&](int& result) {
            return kind == FilterNode::Kind::Or ? Chain(result, depth, "and", FilterNode::Kind::And)
                                                : Factor(result, depth);
        };
        int first = -1;
        if (!operand(first)) return false;
        if (!IsKeyword(keyword)) {
            node = first;
            return true;
        }
        std::vector<int> children{first};
        while (IsKeyword(keyword)) {
            const std::string word(token_.text);
            Next();
            if (token_.kind == Token::Kind::End)
                return Fail(token_.begin, "expected a condition after \"" + word + "\"");
            int next = -1;
            if (!operand(next)) return false;
            children.push_back(next);
        }
        node = AddNode({kind, -1, std::move(children)});
        return true;
    }

    bool Factor(int& node, int depth)
    {
        if (token_.kind == Token::Kind::Open || IsKeyword("not")) {
            if (depth >= MAX_FILTER_NESTING)
                return Fail(token_.begin,
                            "nesting deeper than " + std::to_string(MAX_FILTER_NESTING) + " levels");
        }
        if (IsKeyword("not")) {
            Next();
            if (token_.kind == Token::Kind::End)
                return Fail(token_.begin, "expected a condition after \"not\"");
            int operand = -1;
            if (!Factor(operand, depth + 1)) return false;
            node = AddNode({FilterNode::Kind::Not, -1, {operand}});
            return true;
        }
        if (token_.kind == Token::Kind::Open) {
            const std::size_t open = token_.begin;
            Next();
            if (!Expression(node, depth + 1)) return false;
            if (token_.kind != Token::Kind::Close) {
                if (token_.kind == Token::Kind::End) return Fail(open, "unclosed \"(\"");
                return Fail(token_.begin, "expected \")\", \"and\" or \"or\"");
            }
            Next();
            return true;
        }
        return Condition(node);
    }

    bool Condition(int& node)
    {
        switch (token_.kind) {
            case Token::Kind::End:
                return Fail(token_.begin, "expected a condition");
            case Token::Kind::Close:
                return Fail(token_.begin, "unexpected \")\"");
            case Token::Kind::Word:
                break;
            case Token::Kind::Bad:
                return Fail(token_.begin, "unexpected character " + Quoted(token_.text));
            default:
                return Fail(token_.begin, "expected a field before " + Quoted(token_.text));
        }
        const FieldEntry* field = FindField(token_.text);
        if (!field || IsKeyword("and") || IsKeyword("or"))
            return Fail(token_.begin, "unknown field " + Quoted(token_.text));

        FilterCondition condition;
        condition.kind = field->kind;
        condition.which = field->which;
        std::string fieldName = field->name;
        Next();
        if (field->kind == FilterFieldKind::Level || field->kind == FilterFieldKind::Value) {
            if (!Argument(*field, condition.which, fieldName)) return false;
        }

        if (token_.kind != Token::Kind::Op)
            return Fail(token_.begin, "expected an operator (= != < <= > >= ~) after " + fieldName);
        condition.op = token_.op;
        if (!OpApplies(field->kind, condition.op)) {
            const char* what = WantsString(field->kind)                 ? "the text field "
                               : field->kind == FilterFieldKind::Effect ? "the field "
                                                                        : "the number field ";
            return Fail(token_.begin,
                        Quoted(OpText(condition.op)) + " does not apply to " + what + fieldName);
        }
        const std::string op(OpText(condition.op));
        Next();

        if (token_.kind == Token::Kind::String) {
            if (!WantsString(field->kind))
                return Fail(token_.begin, "expected a number after \"" + op + "\" for " + fieldName);
            if (!String(condition.text)) return false;
        } else if (token_.kind == Token::Kind::Number) {
            if (WantsString(field->kind))
                return Fail(token_.begin, "expected a string after \"" + op + "\" for " + fieldName);
            if (!Number(condition.number)) return false;
        } else {
            return Fail(token_.begin, "expected a value after \"" + op + "\"");
        }
        Next();

        query_.needsTexts_ = query_.needsTexts_ || WantsString(field->kind);
        query_.conditions_.push_back(std::move(condition));
        node = AddNode({FilterNode::Kind::Condition, static_cast<int>(query_.conditions_.size()) - 1, {}});
        return true;
    }

    // "(CLASS)" after level, "(ID)" after value; the field's name becomes
    // "level(WAR)" or "value(0)".
    bool Argument(const FieldEntry& field, int& which, std::string& fieldName)
    {
        const bool isLevel = field.kind == FilterFieldKind::Level;
        if (token_.kind != Token::Kind::Open)
            return Fail(token_.begin, std::string("expected \"(\" after ") + field.name);
        Next();
        if (isLevel) {
            if (token_.kind != Token::Kind::Word)
                return Fail(token_.begin, "expected a class after \"level(\"");
            which = -1;
            for (std::size_t c = 0; c < kClassAbbreviations.size(); ++c) {
                if (SameWord(token_.text, kClassAbbreviations[c])) which = static_cast<int>(c);
            }
            if (which < 0) return Fail(token_.begin, "unknown class " + Quoted(token_.text));
            fieldName = std::string("level(") + kClassAbbreviations[static_cast<std::size_t>(which)] + ")";
        } else {
            if (token_.kind != Token::Kind::Number)
                return Fail(token_.begin, "expected an effect id after \"value(\"");
            if (!Number(which)) return false;
            fieldName = "value(" + std::to_string(which) + ")";
        }
        Next();
        if (token_.kind != Token::Kind::Close)
            return Fail(token_.begin,
                        std::string("expected \")\" after the ") + (isLevel ? "class" : "effect id"));
        Next();
        return true;
    }

    bool Number(int& value)
    {
        std::string_view digits = token_.text;
        if (!digits.empty() && digits[0] == '+') digits.remove_prefix(1);
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (ec != std::errc{} || end != digits.data() + digits.size())
            return Fail(token_.begin,
                        "number " + Quoted(token_.text) + " is out of range (-2147483648 to 2147483647)");
        return true;
    }

    bool String(std::string& value)
    {
        const std::string_view body = token_.text;
        if (body.size() < 2 || body.back() != '"' || EndsInEscape(body))
            return Fail(token_.begin, "unclosed quote");
        value.clear();
        for (std::size_t i = 1; i + 1 < body.size(); ++i) {
            if (body[i] == '\\') {
                const char escaped = body[i + 1];
                if (escaped != '"' && escaped != '\\')
                    return Fail(token_.begin + i,
                                "unknown escape \"\\" + std::string(1, escaped) + "\" in a string");
                ++i;
                value += escaped;
            } else {
                value += body[i];
            }
        }
        if (value.size() > MAX_FILTER_STRING_BYTES)
            return Fail(token_.begin,
                        "string longer than " + std::to_string(MAX_FILTER_STRING_BYTES) + " bytes");
        // The search's case rule, on the UTF-8 the value is.
        for (std::size_t i = 0; i < value.size(); ++i) value[i] = UpperCaseUtf8At(value.data(), i);
        return true;
    }

    // True when the closing quote of a string token is escaped: "abc\".
    static bool EndsInEscape(std::string_view body)
    {
        std::size_t backslashes = 0;
        for (std::size_t i = body.size() - 1; i > 1 && body[i - 1] == '\\'; --i) ++backslashes;
        return backslashes % 2 == 1;
    }

    std::string_view text_;
    FilterQuery& query_;
    FilterError& error_;
    std::size_t pos_ = 0;
    Token token_;
};

bool FilterQuery::Parse(std::string_view expression, FilterError& error)
{
    FilterQuery parsed;
    FilterParser parser(expression, parsed, error);
    if (!parser.Run()) return false;
    *this = std::move(parsed);
    error = {};
    return true;
}

std::string QuoteFilterString(std::string_view value)
{
    std::string quoted = "\"";
    for (const char c : value) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}
