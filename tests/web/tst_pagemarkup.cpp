// The page's markup texts, filled at build time: escaped, underlined access keys, shortcuts, the squares' names.
#include "pagemarkup.h"
#include "texts.h"

#include <QtTest>

#include <algorithm>
#include <string>

using zarquel::web::fillPage;

class TestPageMarkup : public QObject {
    Q_OBJECT

private slots:
    void menuItemsGetTheirAccessKeyUnderlinedAndTheirShortcuts();
    void geometryIsTheLayoutInCssPixels();
    void textsAreEscapedAndSquaresNamed();
    void namesNotOursAndUnclosedMarksStayAsTheyAre();
};

void TestPageMarkup::menuItemsGetTheirAccessKeyUnderlinedAndTheirShortcuts()
{
    const std::string bar = fillPage("${menubar}");
    const char* entries[] = {
        // The bar's one tab stop, then the roving ones; each popup labelled by its title.
        "<button id=\"mnuFile\" type=\"button\" role=\"menuitem\" aria-haspopup=\"menu\" aria-expanded=\"false\" "
        "aria-controls=\"mnuFileMenu\" data-key=\"F\"><span><u>F</u>ile</span></button>\n"
        "<div id=\"mnuFileMenu\" role=\"menu\" aria-labelledby=\"mnuFile\" hidden>",
        "aria-controls=\"mnuHelpMenu\" tabindex=\"-1\" data-key=\"H\"><span><u>H</u>elp</span></button>",
        // Each item sends its command; two shortcuts are listed with a space, as ARIA spells them.
        "<button id=\"mnuExit\" type=\"button\" role=\"menuitem\" tabindex=\"-1\" data-command=\"1004\" data-key=\"X\" "
        "aria-keyshortcuts=\"Control+X\"><span>E<u>x</u>it</span><span class=\"shortcut\">Ctrl+X</span></button>",
        "data-command=\"1002\" data-key=\"N\" aria-keyshortcuts=\"Control+N F2\"><span><u>N</u>ew Game</span>"
        "<span class=\"shortcut\">Ctrl+N, F2</span></button>\n<hr id=\"mnuLine\" role=\"separator\">\n<button id=\"mnuExit\"",
        "data-command=\"1012\" data-key=\"A\" aria-keyshortcuts=\"Control+A\"><span><u>A</u>bout Zarquel</span>",
    };
    for (const char* entry : entries)
        QVERIFY2(bar.find(entry) != std::string::npos, entry);
    QVERIFY(bar.starts_with("<div id=\"menubar\" role=\"menubar\" aria-label=\"Zarquel\">"));
    QCOMPARE(std::count(bar.begin(), bar.end(), '\n'), std::ptrdiff_t(17));
}

void TestPageMarkup::geometryIsTheLayoutInCssPixels()
{
    const std::string css = fillPage("${layout}");
    for (const char* rule : {
             "#page, #frmZarquel { width: 264px; }", "#frmZarquel { height: 394px; }", "body { font-size: 8pt; }",
             ":root { --background: rgb(0 0 0); --label: rgb(255 255 0); }",
             "#cmdTakeFocus { left: 280px; top: 184px; width: 81px; height: 33px; line-height: 33px; }",
             "#lblTime { left: 161px; top: 128px; width: 41px; height: 25px; line-height: 25px; }",
             "#lblTime { font-size: 13.5pt; }",
             "#board { left: 16px; top: 152px; grid-template-columns: repeat(5, 41px); grid-auto-rows: 41px; gap: 7px; }"})
        QVERIFY2(css.find(rule) != std::string::npos, rule);
    // The policy a static host sends in the page itself: nothing inline, no eval, nothing from elsewhere.
    const std::string policy = fillPage("${Policy}");
    for (const char* allowed : {"default-src 'self'", "script-src 'self' 'wasm-unsafe-eval'", "object-src 'none'"})
        QVERIFY2(policy.find(allowed) != std::string::npos, allowed);
    for (const char* never : {"unsafe-inline", "'unsafe-eval'", "*", ":", "sha256"})
        QVERIFY2(policy.find(never) == std::string::npos, never);
}

void TestPageMarkup::textsAreEscapedAndSquaresNamed()
{
    QCOMPARE(fillPage("<title>${AppTitle}</title>"), "<title>" + std::string(zarquel::texts::AppTitle) + "</title>");
    QCOMPARE(fillPage("${Wasted}|${Seconds}|${TakeFocus}"), std::string("You've wasted this much time:|seconds|For Focus"));
    const std::string squares = fillPage("${squares}");
    QCOMPARE(int(std::count(squares.begin(), squares.end(), '\n')), 4); // one line a row
    QVERIFY(squares.find("<button id=\"cmdSquare7\" type=\"button\" aria-label=\"Square 7, row 2, column 2\"></button>")
            != std::string::npos);
    QVERIFY(squares.ends_with("aria-label=\"Square 25, row 5, column 5\"></button>"));
}

void TestPageMarkup::namesNotOursAndUnclosedMarksStayAsTheyAre()
{
    for (const char* page : {"", "plain", "${nothing}", "a ${AppTitle", "banner@2x.gif ${} $"})
        QCOMPARE(fillPage(page), std::string(page));
    QCOMPARE(fillPage("${x}${Seconds}"), std::string("${x}seconds"));
}

QTEST_APPLESS_MAIN(TestPageMarkup)
#include "tst_pagemarkup.moc"
