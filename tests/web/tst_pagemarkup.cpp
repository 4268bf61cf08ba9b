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
    void textsAreEscapedAndSquaresNamed();
    void namesNotOursAndUnclosedMarksStayAsTheyAre();
};

void TestPageMarkup::menuItemsGetTheirAccessKeyUnderlinedAndTheirShortcuts()
{
    const struct {
        const char* page;
        const char* filled;
    } rows[] = {
        {"<b${mnuFile}</b>", "<b data-key=\"F\"><span><u>F</u>ile</span></b>"},
        {"<b${mnuExit}</b>", "<b data-key=\"X\" aria-keyshortcuts=\"Control+X\"><span>E<u>x</u>it</span>"
                             "<span class=\"shortcut\">Ctrl+X</span></b>"},
        // Two shortcuts: ARIA lists them with a space.
        {"<b${mnuNewGame}</b>", "<b data-key=\"N\" aria-keyshortcuts=\"Control+N F2\"><span><u>N</u>ew Game</span>"
                                "<span class=\"shortcut\">Ctrl+N, F2</span></b>"},
    };
    for (const auto& row : rows)
        QCOMPARE(fillPage(row.page), std::string(row.filled));
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
