#include "NVO_NumIO.h"
#include "NVO_RowEntryForm_p.h"
#include "NVO_replistview.h"
#include "PinnedFont.h"

#include <QtCore/QPointer>
#include <QtCore/QTimer>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCalendarWidget>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QDialog>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>

using namespace nvo;
using namespace nvo::test;

namespace {

using View = TReportListView;

/// A view whose columns have the given names and formats, with `rows` rows.
std::unique_ptr<View> MakeView(const std::vector<std::pair<QString, QString>> &columns, int rows = 8)
{
    auto view = std::make_unique<View>();
    view->setFont(PinnedFont(13));
    view->SetNrOfColumns(int(columns.size()));
    view->SetNrOfRows(rows);
    for (int c = 1; c <= int(columns.size()); ++c) {
        view->SetHeader(c, columns[size_t(c - 1)].first);
        view->SetColumnFormat(c, columns[size_t(c - 1)].second);
    }
    return view;
}

/// Runs `step` on the modal widget of class W as soon as it is up (an `exec()` started
/// after this call); a widget that never comes is a failure, and whatever modal is up
/// then is closed so that the test ends.
template<class W>
void WhenModal(std::function<void(W *)> step, int tries = 300)
{
    QTimer::singleShot(10, [step, tries] {
        if (auto *widget = qobject_cast<W *>(QApplication::activeModalWidget())) {
            step(widget);
        } else if (tries > 0) {
            WhenModal<W>(step, tries - 1);
        } else {
            ADD_FAILURE() << "no modal " << W::staticMetaObject.className() << " came up";
            if (QWidget *other = QApplication::activeModalWidget())
                other->close();
        }
    });
}

template<class W = QWidget>
W *Child(QWidget *form, const QString &name)
{
    W *widget = form->findChild<W *>(name);
    EXPECT_NE(widget, nullptr) << qPrintable(name);
    return widget;
}

void ClickOK(QDialog *form) { QTest::mouseClick(Child<QPushButton>(form, QStringLiteral("runtime_rlre_ButOK0")), Qt::LeftButton); }

/// Types `text` over the whole content of a line edit (or an editable combo box).
void Retype(QWidget *editor, const QString &text)
{
    QWidget *target = editor;
    if (auto *box = qobject_cast<QComboBox *>(editor))
        target = box->lineEdit();
    static_cast<QLineEdit *>(target)->selectAll();
    QTest::keyClicks(target, text);
}

QStringList Row(const View &view, int row)
{
    QStringList cells;
    for (int c = 1; c <= view.GetNrOfColumns(); ++c)
        cells << view.RLData().GetElem(c, row);
    return cells;
}

} // namespace

// ---- The editor of a column ----------------------------------------------------------------

TEST(RowEntryField, FollowsTheColumnFormat)
{
    using F = TRowEntryField;
    struct Case {
        const char *Format;
        const char *Cell;
        int Row;
        F::TEditorKind Editor;
        bool ReadOnly;
        int Width;
        QStringList Items;
        const char *DateFormat;
        const char *Initial;
        const char *Unchanged;
    };
    const Case cases[] = {
        {"[s][100]", "", 7, F::ekText, false, 100, {}, "", "", ""},
        {"[l][120]a|b|c", "", 7, F::ekList, false, 120, {"a", "b", "c"}, "", "a", ""},
        {"[l][120]a|b|c", "zeta", 7, F::ekList, false, 120, {"a", "b", "c"}, "", "zeta", "zeta"},
        {"[#i][80]rix3", "", 7, F::ekNumber, true, 80, {}, "", "007", ""},
        {"[h][60]rix2", "", 255, F::ekNumber, false, 60, {}, "", "FF", ""},
        {"[c:5][90]a||b|", "b", 1, F::ekCombo, false, 90, {"a", "", "b"}, "", "b", "b"},
        {"abc", "x", 1, F::ekText, false, 200, {}, "", "x", "x"},
        {"[e][0]", "1e3", 1, F::ekNumber, false, 200, {}, "", "1e3", "1e3"},
        {"[ddd.MM.yyyy][120]", "03.04.2024", 1, F::ekDate, false, 120, {}, "dd.MM.yyyy", "03.04.2024", "03.04.2024"},
        {"[d][80]", "", 1, F::ekDate, false, 80, {}, "yyyy-MM-dd", "", ""},
        {"[dd.M.yyyy][80]03.04.2024", "", 1, F::ekDate, false, 80, {}, "d.M.yyyy", "3.4.2024", ""},
        {"[ddd.MM.yyyy][80]31.02.2024", "", 1, F::ekDate, false, 80, {}, "dd.MM.yyyy", "", ""},
        {"[q][50]", "x", 1, F::ekNone, false, 50, {}, "", "x", "x"},
    };
    for (const Case &c : cases) {
        const F field = RowEntryField(QString::fromUtf8(c.Format), QString::fromUtf8(c.Cell), c.Row);
        SCOPED_TRACE(c.Format);
        EXPECT_EQ(field.Editor, c.Editor);
        EXPECT_EQ(field.ReadOnly, c.ReadOnly);
        EXPECT_EQ(field.Width, c.Width);
        EXPECT_EQ(field.Items, c.Items);
        EXPECT_EQ(field.DateFormat, QString::fromUtf8(c.DateFormat));
        EXPECT_EQ(field.Initial, QString::fromUtf8(c.Initial));
        EXPECT_EQ(field.Unchanged, QString::fromUtf8(c.Unchanged));
    }
    EXPECT_EQ(RowEntryField(QStringLiteral("[f][80]"), QString(), 1).InputFormat, TInFormat::itFloat);
    EXPECT_EQ(RowEntryField(QStringLiteral("[h][80]"), QString(), 1).InputFormat, TInFormat::itHex);
    EXPECT_EQ(RowEntryField(QStringLiteral("[i][80]"), QString(), 1).InputFormat, TInFormat::itInt);
}

// ---- The form, driven through exec() ----------------------------------------------------

TEST(RowEntryForm, BuildsOneLabelledEditorPerColumn)
{
    auto view = MakeView({{"Name", "[s][100]"}, {"Size", "[l][120]a|b|c"}, {"No.", "[#i][80]rix3"}, {"Note", "plain"}});
    view->SetColumnIsPwd(4, true);
    WhenModal<QDialog>([](QDialog *form) {
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Editing Row 7"));
        EXPECT_EQ(form->height(), 4 * 25 + 45 + 38);
        auto *name = Child<QLineEdit>(form, QStringLiteral("runtime_rlre_Edit1"));
        auto *size = Child<QComboBox>(form, QStringLiteral("runtime_rlre_CBox2"));
        auto *number = Child<TNumIO>(form, QStringLiteral("runtime_rlre_NumIO3"));
        auto *note = Child<QLineEdit>(form, QStringLiteral("runtime_rlre_Edit4"));
        EXPECT_EQ(name->width(), 100);
        EXPECT_EQ(name->y(), 45);
        EXPECT_EQ(size->y(), 45 + 25);
        EXPECT_FALSE(size->isEditable());
        EXPECT_EQ(size->count(), 3);
        EXPECT_EQ(size->currentText(), QStringLiteral("a"));
        EXPECT_FALSE(number->isEnabled());
        EXPECT_EQ(number->text(), QStringLiteral("007"));
        EXPECT_EQ(note->width(), 200);
        EXPECT_EQ(note->echoMode(), QLineEdit::Password); // as hidden as in the list
        auto *label = Child<QLabel>(form, QStringLiteral("runtime_rlre_Label2"));
        EXPECT_EQ(label->text(), QStringLiteral("Size:"));
        EXPECT_EQ(label->buddy(), size);
        EXPECT_EQ(size->accessibleName(), QStringLiteral("Size"));
        Retype(name, QStringLiteral("hello"));
        ClickOK(form);
    });
    EXPECT_EQ(view->EditRowEntries(7, 10, 10), View::mrOK);
    // The default of the list is accepted with OK; the read-only column is never written.
    EXPECT_EQ(Row(*view, 7), (QStringList{"hello", "a", "", ""}));
}

TEST(RowEntryForm, TabRunsThroughTheEditorsThenOKAndCancel)
{
    auto view = MakeView({{"A", "[s][80]"}, {"B", "[#s][80]"}, {"C", "[i][80]"}});
    QStringList order;
    WhenModal<QDialog>([&order](QDialog *form) {
        for (int i = 0; i < 4; ++i) {
            // The form's own focus: the window may not be active yet on a busy machine.
            QWidget *focused = form->focusWidget();
            order << (focused ? focused->objectName() : QString());
            QTest::keyClick(focused ? focused : form, Qt::Key_Tab);
        }
        form->reject();
    });
    view->EditRowEntries(1, 0, 0);
    EXPECT_EQ(order, (QStringList{"runtime_rlre_Edit1", "runtime_rlre_NumIO3", "runtime_rlre_ButOK0",
                                  "runtime_rlre_ButCancel0"}));
}

TEST(RowEntryForm, CancelAndEscapeReturnCancelAndChangeNoCell)
{
    for (const bool escape : {false, true}) {
        auto view = MakeView({{"A", "[s][80]"}, {"B", "[c][80]x|y"}});
        view->SetElem(1, 2, QStringLiteral("kept"));
        WhenModal<QDialog>([escape](QDialog *form) {
            Retype(Child(form, QStringLiteral("runtime_rlre_Edit1")), QStringLiteral("lost"));
            Retype(Child(form, QStringLiteral("runtime_rlre_CBox2")), QStringLiteral("lost"));
            if (escape)
                QTest::keyClick(Child(form, QStringLiteral("runtime_rlre_Edit1")), Qt::Key_Escape);
            else
                QTest::mouseClick(Child<QPushButton>(form, QStringLiteral("runtime_rlre_ButCancel0")), Qt::LeftButton);
        });
        EXPECT_EQ(view->EditRowEntries(2, 0, 0), View::mrCancel) << escape;
        EXPECT_EQ(Row(*view, 2), (QStringList{"kept", ""})) << escape;
    }
}

TEST(RowEntryForm, EnterInAnyEditorAcceptsAndWritesTheRow)
{
    struct Case {
        const char *Format;
        const char *Editor;
        const char *Typed;
        const char *Stored;
    };
    const Case cases[] = {
        {"[s][80]", "runtime_rlre_Edit1", "typed", "typed"},
        {"[c][80]x|y", "runtime_rlre_CBox1", "other", "other"},
        {"[i][80]", "runtime_rlre_NumIO1", "42", "42"},
        {"[ddd.MM.yyyy][100]", "runtime_rlre_DtPick1", "29.02.2024", "29.02.2024"},
        {"[ddd/MM/yy hh:mm tt][140]", "runtime_rlre_DtPick1", "01/02/03 12:30 am", "01/02/03 12:30 AM"},
    };
    for (const Case &c : cases) {
        auto view = MakeView({{"Only", QString::fromUtf8(c.Format)}});
        WhenModal<QDialog>([&c](QDialog *form) {
            QWidget *editor = Child(form, QString::fromUtf8(c.Editor));
            Retype(editor, QString::fromUtf8(c.Typed));
            QTest::keyClick(editor, Qt::Key_Return);
        });
        EXPECT_EQ(view->EditRowEntries(1, 0, 0), View::mrOK) << c.Format;
        EXPECT_EQ(view->RLData().GetElem(1, 1), QString::fromUtf8(c.Stored)) << c.Format;
    }
}

TEST(RowEntryForm, UntouchedEditorsLeaveTheirCellsExactlyAsTheyWere)
{
    // Each of these would change if the form wrote every editor back: the number text
    // rewritten, the unreadable and the empty date made into a date, the list's foreign
    // text lost, the display text stored.
    auto view = MakeView({{"Shown", "[s][80]"},
                          {"Number", "[e][80]"},
                          {"Odd date", "[ddd.MM.yyyy][100]"},
                          {"No date", "[ddd.MM.yyyy][100]"},
                          {"List", "[l][80]a|b|c"},
                          {"Other", "[s][80]"}});
    const QStringList before{"raw", "1e3", "soon", "", "zeta", "old"};
    for (int c = 1; c <= 6; ++c)
        view->SetElem(c, 3, before[c - 1]);
    view->OnReadCell = [](QObject *, int col, int, QString &text) {
        if (col == 1)
            text = text.toUpper() + QStringLiteral(" (shown)");
    };
    WhenModal<QDialog>([](QDialog *form) {
        EXPECT_EQ(Child<QLineEdit>(form, QStringLiteral("runtime_rlre_Edit1"))->text(), QStringLiteral("RAW (shown)"));
        EXPECT_EQ(Child<QComboBox>(form, QStringLiteral("runtime_rlre_CBox5"))->currentText(), QStringLiteral("zeta"));
        EXPECT_EQ(Child<QLineEdit>(form, QStringLiteral("runtime_rlre_DtPick4"))->text(), QString());
        EXPECT_FALSE(Child(form, QStringLiteral("runtime_rlre_DtPick3"))->toolTip().isEmpty()); // "soon" is marked
        Retype(Child(form, QStringLiteral("runtime_rlre_Edit6")), QStringLiteral("new"));
        ClickOK(form);
    });
    EXPECT_EQ(view->EditRowEntries(3, 0, 0), View::mrOK);
    EXPECT_EQ(Row(*view, 3), (QStringList{"raw", "1e3", "soon", "", "zeta", "new"}));
}

TEST(RowEntryForm, ReadOnlyColumnsAreNeverWritten)
{
    auto view = MakeView({{"Id", "[#i][80]rix3"}, {"Code", "[#s][80]fixed"}, {"Kind", "[#l][80]a|b"}});
    view->SetElem(2, 4, QStringLiteral("held"));
    WhenModal<QDialog>([](QDialog *form) {
        for (const char *name : {"runtime_rlre_NumIO1", "runtime_rlre_Edit2", "runtime_rlre_CBox3"}) {
            QWidget *editor = Child(form, QString::fromUtf8(name));
            EXPECT_FALSE(editor->isEnabled()) << name;
            EXPECT_EQ(editor->palette().color(QPalette::Disabled, QPalette::Base), QColor(0xE0, 0xE0, 0xE0)) << name;
            EXPECT_EQ(editor->palette().color(QPalette::Disabled, QPalette::Text), QColor(0x80, 0x80, 0x80)) << name;
        }
        ClickOK(form);
    });
    EXPECT_EQ(view->EditRowEntries(4, 0, 0), View::mrOK);
    EXPECT_EQ(Row(*view, 4), (QStringList{"", "held", ""}));
}

TEST(RowEntryForm, AChangedDateIsWrittenInItsFormatAndAClearedOneEmpty)
{
    auto view = MakeView({{"From", "[dd.M.yyyy][100]"}, {"To", "[ddd.MM.yyyy][100]"}});
    view->SetElem(2, 1, QStringLiteral("01.01.2020"));
    WhenModal<QDialog>([](QDialog *form) {
        Retype(Child(form, QStringLiteral("runtime_rlre_DtPick1")), QStringLiteral("3.04.2024"));
        Child<QLineEdit>(form, QStringLiteral("runtime_rlre_DtPick2"))->clear();
        ClickOK(form);
    });
    EXPECT_EQ(view->EditRowEntries(1, 0, 0), View::mrOK);
    EXPECT_EQ(Row(*view, 1), (QStringList{"3.4.2024", ""}));
}

TEST(RowEntryForm, ADateThatDoesNotReadIsReportedAndTheFormStaysOpen)
{
    struct Case {
        const char *Format;
        const char *Typed;
    };
    const Case cases[] = {
        {"[ddd.MM.yyyy][100]", "31.02.2024"}, // no such day
        {"[ddd.MM][100]", "03.04"},           // a format without a year reads no date
        {"[ddd.MM.yyyy][100]", "3rd April"},  // not the format at all
    };
    for (const Case &c : cases) {
        auto view = MakeView({{"When", QString::fromUtf8(c.Format)}});
        view->SetElem(1, 1, QStringLiteral("kept"));
        QString message;
        bool reopened = false;
        WhenModal<QDialog>([&](QDialog *form) {
            QWidget *date = Child(form, QStringLiteral("runtime_rlre_DtPick1"));
            Retype(date, QString::fromUtf8(c.Typed));
            EXPECT_FALSE(date->toolTip().isEmpty()) << c.Typed; // marked while typed
            WhenModal<QMessageBox>([&, form](QMessageBox *box) {
                message = box->text();
                WhenModal<QDialog>([&, form](QDialog *again) {
                    reopened = again == form;
                    again->reject();
                });
                box->accept();
            });
            ClickOK(form);
        });
        EXPECT_EQ(view->EditRowEntries(1, 0, 0), View::mrCancel) << c.Typed;
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.Typed))) << qPrintable(message);
        EXPECT_TRUE(reopened) << c.Typed;
        EXPECT_EQ(view->RLData().GetElem(1, 1), QStringLiteral("kept")) << c.Typed;
    }
}

TEST(RowEntryForm, AHandlerThatThrowsLeavesNoEditorBehind)
{
    const std::function<void(View &)> throwers[] = {
        [](View &view) {
            view.OnRequestEditFormat = [](QObject *, int col, int, QString &) {
                if (col == 2)
                    throw std::runtime_error("format refused");
            };
        },
        [](View &view) {
            view.OnReadCell = [](QObject *, int col, int, QString &) {
                if (col == 3)
                    throw std::runtime_error("cell refused");
            };
        },
    };
    for (const auto &install : throwers) {
        auto view = MakeView({{"A", "[s][80]"}, {"B", "[i][80]"}, {"C", "[ddd.MM.yyyy][80]"}});
        install(*view);
        QDialog supplied;
        supplied.setWindowTitle(QStringLiteral("mine"));
        auto *own = new QPushButton(QStringLiteral("own"), &supplied);
        const int before = QApplication::allWidgets().size();
        EXPECT_THROW(view->EditRowEntries(1, &supplied, 0, 0), std::runtime_error);
        EXPECT_THROW(view->EditRowEntries(1, 0, 0), std::runtime_error);
        EXPECT_EQ(QApplication::allWidgets().size(), before);
        EXPECT_EQ(supplied.children(), QObjectList{own});
        EXPECT_EQ(supplied.windowTitle(), QStringLiteral("mine"));
    }
}

TEST(RowEntryForm, ARowOutsideTheTableShowsNoFormAndIsNoOK)
{
    auto view = MakeView({{"A", "[s][80]"}}, 3);
    bool shown = false;
    QTimer watch; // closes any form that comes up, so that a faulty call still returns
    QObject::connect(&watch, &QTimer::timeout, [&shown] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            shown = true;
            modal->close();
        }
    });
    watch.start(20);
    for (const int row : {0, -1, 4}) {
        EXPECT_EQ(view->EditRowEntries(row, 0, 0), View::mrNone) << row;
        QDialog supplied;
        EXPECT_EQ(view->EditRowEntries(row, &supplied, 0, 0), View::mrNone) << row;
    }
    QTest::qWait(60);
    EXPECT_FALSE(shown);
}

TEST(RowEntryForm, ASuppliedFormHoldsTheEditorsAtItsOffsetAndKeepsItsOwnWidgets)
{
    auto view = MakeView({{"Name", "[s][150]"}, {"Count", "[i][80]"}});
    QDialog supplied;
    supplied.setWindowTitle(QStringLiteral("mine"));
    supplied.resize(60, 40);
    auto *own = new QPushButton(QStringLiteral("own"), &supplied);
    WhenModal<QDialog>([&](QDialog *form) {
        EXPECT_EQ(form, &supplied);
        EXPECT_EQ(form->windowTitle(), QString());
        QWidget *name = Child(form, QStringLiteral("runtime_rlre_Edit1"));
        QWidget *count = Child(form, QStringLiteral("runtime_rlre_NumIO2"));
        EXPECT_EQ(name->y(), 30);
        EXPECT_EQ(count->y(), 30 + 25);
        EXPECT_EQ(Child(form, QStringLiteral("runtime_rlre_Label1"))->x(), 100 + 8);
        // The form grows to hold the editors behind the offset, not just their width.
        EXPECT_TRUE(form->rect().contains(name->geometry())) << form->width();
        EXPECT_EQ(form->findChild<QPushButton *>(QStringLiteral("runtime_rlre_ButOK0")), nullptr);
        Retype(count, QStringLiteral("12"));
        QTest::keyClick(count, Qt::Key_Enter);
    });
    EXPECT_EQ(view->EditRowEntries(2, &supplied, 100, 30), View::mrOK);
    EXPECT_EQ(Row(*view, 2), (QStringList{"", "12"}));
    EXPECT_EQ(supplied.children(), QObjectList{own});
}

TEST(RowEntryForm, ASuppliedFormThatDeletesItselfOnClosingIsReadFirst)
{
    auto view = MakeView({{"Name", "[s][80]"}});
    QPointer<QDialog> supplied = new QDialog;
    supplied->setAttribute(Qt::WA_DeleteOnClose);
    WhenModal<QDialog>([](QDialog *form) {
        QWidget *name = Child(form, QStringLiteral("runtime_rlre_Edit1"));
        Retype(name, QStringLiteral("read"));
        QTest::keyClick(name, Qt::Key_Return);
    });
    EXPECT_EQ(view->EditRowEntries(1, supplied, 0, 0), View::mrOK);
    EXPECT_EQ(view->RLData().GetElem(1, 1), QStringLiteral("read"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(supplied.isNull()); // closed, so deleted as it asked
}

TEST(RowEntryForm, AViewDeletedWhileItsFormIsUpEndsTheFormAsCancelled)
{
    QPointer<View> view = MakeView({{"Name", "[s][80]"}, {"Count", "[i][80]"}}).release();
    WhenModal<QDialog>([&view](QDialog *form) {
        Retype(Child(form, QStringLiteral("runtime_rlre_Edit1")), QStringLiteral("late"));
        delete view.data(); // an event handler of the application closes the window
    });
    EXPECT_EQ(view->EditRowEntries(1, 0, 0), View::mrCancel);
    EXPECT_TRUE(view.isNull());
}

TEST(RowEntryForm, ANarrowFormKeepsBothButtonsInside)
{
    auto view = MakeView({{"a", "[s][30]"}});
    WhenModal<QDialog>([](QDialog *form) {
        for (const char *name : {"runtime_rlre_ButOK0", "runtime_rlre_ButCancel0"})
            EXPECT_TRUE(form->rect().contains(Child(form, QString::fromUtf8(name))->geometry())) << name;
        form->reject();
    });
    view->EditRowEntries(1, 0, 0, QStringLiteral("Edit"), QStringLiteral("Take"), QStringLiteral("Drop"));
}

TEST(RowEntryForm, OnRequestEditFormatChangesTheFormatForThisFormOnly)
{
    auto view = MakeView({{"A", "[s][80]"}, {"B", "[s][80]"}});
    QList<int> asked;
    view->OnRequestEditFormat = [&asked](QObject *, int col, int row, QString &format) {
        asked << col << row;
        if (col == 2)
            format = QStringLiteral("[l][90]x|y");
    };
    WhenModal<QDialog>([](QDialog *form) {
        EXPECT_EQ(Child<QComboBox>(form, QStringLiteral("runtime_rlre_CBox2"))->count(), 2);
        form->reject();
    });
    view->EditRowEntries(5, 0, 0);
    EXPECT_EQ(asked, (QList<int>{1, 5, 2, 5}));
    EXPECT_EQ(view->GetColumnFormat(2), QStringLiteral("[s][80]"));
}

TEST(RowEntryForm, TheCalendarPicksADayAndKeepsTheTime)
{
    auto view = MakeView({{"When", "[ddd.MM.yyyy HH:mm][140]"}, {"At", "[dHH:mm][80]"}});
    view->SetElem(1, 1, QStringLiteral("01.01.2020 10:30"));
    bool timeOnlyOffersCalendar = true;
    WhenModal<QDialog>([&timeOnlyOffersCalendar](QDialog *form) {
        QTest::keyClick(Child(form, QStringLiteral("runtime_rlre_DtPick2")), Qt::Key_F4);
        timeOnlyOffersCalendar = QApplication::activePopupWidget() != nullptr;
        QWidget *date = Child(form, QStringLiteral("runtime_rlre_DtPick1"));
        QTest::keyClick(date, Qt::Key_Down, Qt::AltModifier);
        auto *calendar = qobject_cast<QCalendarWidget *>(QApplication::activePopupWidget());
        if (!calendar) {
            ADD_FAILURE() << "no calendar";
            form->reject();
            return;
        }
        EXPECT_EQ(calendar->selectedDate(), QDate(2020, 1, 1));
        calendar->setSelectedDate(QDate(2024, 4, 3));
        QTest::keyClick(calendar->focusWidget() ? calendar->focusWidget() : calendar, Qt::Key_Return);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        ClickOK(form);
    });
    EXPECT_EQ(view->EditRowEntries(1, 0, 0), View::mrOK);
    EXPECT_FALSE(timeOnlyOffersCalendar);
    EXPECT_EQ(Row(*view, 1), (QStringList{"03.04.2024 10:30", ""}));
}
