// Reads shared Markdown and HTML back with real parsers (cmark-gfm with
// GitHub's extensions, libxml2's HTML parser) into the blocks a reader sees,
// one Line each: {"# Title"} (a heading, one '#' per level), {"- item"}, {a
// paragraph's text}, and {"|", cell, cell, ...} per table row.
// Removed text reads "[-text-]" (strikethrough, <del>), added or strong text
// "{+text+}" (**strong**, <ins>, <b>); anything else a text could have
// become reads "<type>text</type>" (a link, emphasis, code, raw HTML, ...).
// GitHub's renderer makes every e-mail address a mail link, which no
// escaping prevents; such a link shows its own characters and reads as its
// text.
#pragma once

#include <cmark-gfm-core-extensions.h>
#include <cmark-gfm-extension_api.h>
#include <cmark-gfm.h>
#include <libxml/HTMLparser.h>

#include <string>
#include <string_view>
#include <vector>

namespace readback {

using Line = std::vector<std::string>;
using Lines = std::vector<Line>;

// "<name>", or "</name>" for a closing tag.
inline std::string Tag(std::string_view name, bool closing = false)
{
    std::string tag = closing ? "</" : "<";
    tag.append(name).append(">");
    return tag;
}

// ---- Markdown -------------------------------------------------------------

inline std::string MarkdownInlines(cmark_node* node);

inline void MarkdownInline(cmark_node* node, std::string& text)
{
    const std::string_view type = cmark_node_get_type_string(node);
    if (type == "text") {
        text += cmark_node_get_literal(node);
        return;
    }
    if (type == "link") {
        const std::string shown = MarkdownInlines(node);
        if (cmark_node_get_url(node) == "mailto:" + shown) {
            text += shown;
            return;
        }
    }
    const char* open = type == "strikethrough" ? "[-" : type == "strong" ? "{+" : nullptr;
    const char* close = type == "strikethrough" ? "-]" : "+}";
    text += open ? std::string(open) : Tag(type);
    if (const char* literal = cmark_node_get_literal(node)) text += literal;
    for (cmark_node* child = cmark_node_first_child(node); child; child = cmark_node_next(child))
        MarkdownInline(child, text);
    text += open ? std::string(close) : Tag(type, true);
}

inline std::string MarkdownInlines(cmark_node* node)
{
    std::string text;
    for (cmark_node* child = cmark_node_first_child(node); child; child = cmark_node_next(child))
        MarkdownInline(child, text);
    return text;
}

inline void MarkdownBlock(cmark_node* node, Lines& lines)
{
    const std::string_view type = cmark_node_get_type_string(node);
    if (type == "heading") {
        lines.push_back({std::string(static_cast<std::size_t>(cmark_node_get_heading_level(node)), '#') +
                         " " + MarkdownInlines(node)});
    } else if (type == "paragraph") {
        lines.push_back({MarkdownInlines(node)});
    } else if (type == "list") {
        for (cmark_node* item = cmark_node_first_child(node); item; item = cmark_node_next(item)) {
            std::string line = "- ";
            if (cmark_node* paragraph = cmark_node_first_child(item)) line += MarkdownInlines(paragraph);
            lines.push_back({line});
        }
    } else if (type == "table") {
        for (cmark_node* row = cmark_node_first_child(node); row; row = cmark_node_next(row)) {
            Line line = {"|"};
            for (cmark_node* cell = cmark_node_first_child(row); cell; cell = cmark_node_next(cell))
                line.push_back(MarkdownInlines(cell));
            lines.push_back(line);
        }
    } else {
        lines.push_back({Tag(type)});
    }
}

inline Lines ReadMarkdown(std::string_view markdown)
{
    cmark_gfm_core_extensions_ensure_registered();
    cmark_parser* parser = cmark_parser_new(CMARK_OPT_DEFAULT);
    for (const char* name : {"table", "strikethrough", "autolink", "tagfilter"})
        cmark_parser_attach_syntax_extension(parser, cmark_find_syntax_extension(name));
    cmark_parser_feed(parser, markdown.data(), markdown.size());
    cmark_node* document = cmark_parser_finish(parser);
    Lines lines;
    for (cmark_node* block = cmark_node_first_child(document); block; block = cmark_node_next(block))
        MarkdownBlock(block, lines);
    cmark_node_free(document);
    cmark_parser_free(parser);
    return lines;
}

// ---- HTML -----------------------------------------------------------------

inline std::string_view Name(xmlNode* node)
{
    return reinterpret_cast<const char*>(node->name);
}

inline void HtmlInline(xmlNode* node, std::string& text)
{
    if (node->type == XML_TEXT_NODE) {
        if (node->content) text += reinterpret_cast<const char*>(node->content);
        return;
    }
    if (node->type != XML_ELEMENT_NODE) return;
    const std::string_view name = Name(node);
    const bool removed = name == "del";
    const bool added = name == "ins" || name == "b";
    text += removed ? "[-" : added ? "{+" : Tag(name);
    for (xmlNode* child = node->children; child; child = child->next) HtmlInline(child, text);
    text += removed ? "-]" : added ? "+}" : Tag(name, true);
}

inline std::string HtmlInlines(xmlNode* node)
{
    std::string text;
    for (xmlNode* child = node->children; child; child = child->next) HtmlInline(child, text);
    return text;
}

inline void HtmlBlock(xmlNode* node, Lines& lines)
{
    if (node->type != XML_ELEMENT_NODE) return;
    const std::string_view name = Name(node);
    if (name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6') {
        lines.push_back(
            {std::string(static_cast<std::size_t>(name[1] - '0'), '#') + " " + HtmlInlines(node)});
    } else if (name == "p") {
        lines.push_back({HtmlInlines(node)});
    } else if (name == "ul") {
        for (xmlNode* item = node->children; item; item = item->next) {
            if (item->type != XML_ELEMENT_NODE) continue;
            std::string line = "- ";
            line += HtmlInlines(item);
            lines.push_back({line});
        }
    } else if (name == "table" || name == "thead" || name == "tbody") {
        for (xmlNode* child = node->children; child; child = child->next) HtmlBlock(child, lines);
    } else if (name == "tr") {
        Line line = {"|"};
        for (xmlNode* cell = node->children; cell; cell = cell->next) {
            if (cell->type == XML_ELEMENT_NODE) line.push_back(HtmlInlines(cell));
        }
        lines.push_back(line);
    } else if (name == "html" || name == "body") {
        for (xmlNode* child = node->children; child; child = child->next) HtmlBlock(child, lines);
    } else if (name != "head") {
        lines.push_back({Tag(name)});
    }
}

inline Lines ReadHtml(std::string_view html)
{
    htmlDocPtr document = htmlReadMemory(html.data(), static_cast<int>(html.size()), nullptr, "UTF-8",
                                         HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
    Lines lines;
    if (!document) return {{"<unreadable>"}};
    for (xmlNode* node = xmlDocGetRootElement(document); node; node = node->next) HtmlBlock(node, lines);
    xmlFreeDoc(document);
    return lines;
}

}  // namespace readback
