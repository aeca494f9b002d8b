#include "core/Cp1252.h"
#include "core/RunErrors.h"
#include "core/UtcClock.h"

#include <QDateTime>

#include <cerrno>
#include <gtest/gtest.h>

namespace drmq {
namespace {

TEST(RunErrors, FileErrorTextsAreTheGermanOnes) {
    EXPECT_EQ(InOutErrorText(2), "Datei nicht gefunden");
    EXPECT_EQ(InOutErrorText(3), "Ungültiger Dateiname");
    EXPECT_EQ(InOutErrorText(4), "Zu viele geöffnete Dateien");
    EXPECT_EQ(InOutErrorText(5), "Dateizugriff verweigert");
    EXPECT_EQ(InOutErrorText(100), "Versuch hinter dem Dateiende zu lesen");
    EXPECT_EQ(InOutErrorText(101), "Zu wenig Speicherplatz");
    EXPECT_EQ(InOutErrorText(106), "Ungültige numerische Eingabe");
    EXPECT_EQ(InOutErrorText(32), "E/A-Fehler 32");
}

TEST(RunErrors, ErrnoMapsToTheClassicNumbers) {
    EXPECT_EQ(InOutCodeFromErrno(ENOENT), 2);
    EXPECT_EQ(InOutCodeFromErrno(EACCES), 5);
    EXPECT_EQ(InOutCodeFromErrno(EMFILE), 4);
    EXPECT_EQ(InOutCodeFromErrno(ENOSPC), 101);
    try {
        RaiseFileErrorFromErrno(ENOENT);
        FAIL();
    } catch (const EInOutError &e) {
        EXPECT_EQ(e.Code(), 2);
        EXPECT_STREQ(e.what(), "Datei nicht gefunden");
    }
}

TEST(RunErrors, StrToIntAcceptsDecimalAndHexOnly) {
    EXPECT_EQ(StrToInt("42"), 42);
    EXPECT_EQ(StrToInt(" -7"), -7);
    EXPECT_EQ(StrToInt("$FF"), 255);
    EXPECT_EQ(StrToInt("0x10"), 16);
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    int v = 0;
    EXPECT_FALSE(TryStrToInt("2147483648", v));
    EXPECT_FALSE(TryStrToInt("", v));
    EXPECT_FALSE(TryStrToInt("$", v));
    EXPECT_FALSE(TryStrToInt("1.5", v));
    EXPECT_FALSE(TryStrToInt("12 3", v));
    // Nothing may follow the number, not even a blank.
    EXPECT_FALSE(TryStrToInt("6095 ", v));
}

TEST(RunErrors, ConversionFailuresCarryTheGermanTextWithTheDecodedInput) {
    try {
        StrToInt("ab\xE7");
        FAIL();
    } catch (const EConvertError &e) {
        EXPECT_STREQ(e.what(), "'abç' ist kein gültiger Integerwert");
    }
    try {
        StrToFloat("4,5");
        FAIL();
    } catch (const EConvertError &e) {
        EXPECT_STREQ(e.what(), "'4,5' ist kein gültiger Gleitkommawert");
    }
}

TEST(RunErrors, StrToFloatReadsPlainDecimalsWhateverTheLocale) {
    EXPECT_DOUBLE_EQ(StrToFloat("454.3"), 454.3);
    EXPECT_DOUBLE_EQ(StrToFloat("-1.5e3"), -1500.0);
    EXPECT_DOUBLE_EQ(StrToFloat("+.5"), 0.5);
    double v = 0;
    EXPECT_FALSE(TryStrToFloat("nan", v));
    EXPECT_FALSE(TryStrToFloat("inf", v));
    EXPECT_FALSE(TryStrToFloat("454.3 ", v));
    // Beyond the range of a double is a failure, not 0 or infinity.
    EXPECT_FALSE(TryStrToFloat("1e400", v));
    EXPECT_FALSE(TryStrToFloat("0x1p3", v));
    EXPECT_FALSE(TryStrToFloat("1e", v));
    EXPECT_FALSE(TryStrToFloat(".", v));
}

TEST(Cp1252, DecodesTheWindowsRangeAndRoundTrips) {
    const std::string bytes = "\x80\x8A\x9F\xE4\xDF A";
    const QString text = FromCp1252(bytes);
    EXPECT_EQ(text, QString::fromUtf8("€ŠŸäß A"));
    EXPECT_EQ(ToCp1252(text), bytes);
    // The five unassigned bytes survive the round trip too.
    const std::string unassigned = "\x81\x8D\x8F\x90\x9D";
    EXPECT_EQ(ToCp1252(FromCp1252(unassigned)), unassigned);
    EXPECT_EQ(ToCp1252(QString::fromUtf8("Ω")), "?");
}

TEST(UtcClock, EncodesAndDecodesCalendarInstants) {
    EXPECT_DOUBLE_EQ(EncodeDateTime({1899, 12, 30, 0, 0, 0, 0}), 0.0);
    EXPECT_DOUBLE_EQ(EncodeDateTime({1900, 1, 1, 12, 0, 0, 0}), 2.5);
    const double t = EncodeDateTime({2024, 2, 29, 23, 59, 59, 59});
    const DateTimeParts p = DecodeDateTime(t);
    EXPECT_EQ(p.year, 2024);
    EXPECT_EQ(p.month, 2);
    EXPECT_EQ(p.day, 29);
    EXPECT_EQ(p.hour, 23);
    EXPECT_EQ(p.minute, 59);
    EXPECT_EQ(p.second, 59);
    EXPECT_EQ(p.millisecond, 59);
}

TEST(UtcClock, WeekdaysRunFromSundayOneToSaturdaySeven) {
    EXPECT_EQ(DayOfWeek(EncodeDateTime({2024, 3, 3, 12, 0, 0, 0})), 1); // Sunday
    EXPECT_EQ(DayOfWeek(EncodeDateTime({2024, 3, 4, 0, 0, 0, 0})), 2);  // Monday
    EXPECT_EQ(DayOfWeek(EncodeDateTime({2024, 3, 9, 23, 59, 0, 0})), 7); // Saturday
    EXPECT_NEAR(TimeOfDay(EncodeDateTime({2024, 3, 9, 6, 0, 0, 0})), 0.25, 1e-9);
}

TEST(UtcClock, SystemClockEqualsLocalTimePlusBias) {
    TSystemClock clock;
    const QDateTime local = QDateTime::currentDateTime();
    const double localDays = EncodeDateTime({local.date().year(), local.date().month(), local.date().day(),
                                             local.time().hour(), local.time().minute(), local.time().second(),
                                             local.time().msec()});
    EXPECT_NEAR(localDays + clock.UtcBias(), clock.UtcNow(), 2.0 / 86400.0);
}

} // namespace
} // namespace drmq
