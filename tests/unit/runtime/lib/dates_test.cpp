// The date and time exports with the settings they read.
#include "zeltadate.h"

#include "calendar.h"
#include "lib_fixture.h"
#include "zeltaobjs2.h"

namespace {

using DatesTest = LibTest;

lib::LocalTime fixedClock() { return lib::LocalTime{2009, 3, 5, 13, 4, 5}; }

TEST_F(DatesTest, EncodesWithTheEpochSetting) {
  EXPECT_EQ(__EncodeDate(2000, 2, 29), 36585);
  EXPECT_EQ(__EncodeDate(1900, 2, 29), 0);
  double day = -1;
  EXPECT_EQ(__DoEncodeDate(0, 0, 0, &day, 0), 1);
  EXPECT_EQ(day, 0);
  EXPECT_EQ(__DoEncodeDate(2009, 3, 5, &day, 30), 1);
  EXPECT_EQ(day, 39907);
  __Set(N(5), N(1990));
  int y, m, d;
  __DecodeDate(__EncodeDate(45, 1, 1), &y, &m, &d);
  EXPECT_EQ(y, 2045);
  __DecodeDate(0, &y, &m, &d);
  EXPECT_EQ(y + m + d, 0);
  TimeStamp stamp;
  __DateTimeToTimeStamp(&stamp, 36526.5);
  EXPECT_EQ(stamp.time, 43200000);
  EXPECT_EQ(stamp.date, 36526 + 693594);
}

TEST_F(DatesTest, PartsAndNames) {
  pObj_Node d = Dt(39877);  // 5 March 2009, a Thursday
  EXPECT_EQ(num(__Day(d)), 5);
  EXPECT_EQ(num(__Month(d)), 3);
  EXPECT_EQ(num(__Year(d)), 2009);
  EXPECT_EQ(num(__Dow(d)), 5);
  EXPECT_EQ(str(__CDow(d)), "thursday");
  EXPECT_EQ(str(__CMonth(Dt(39877 + 214))), "octuber");
  EXPECT_EQ(num(__Dow(Dt(0))), 7);
  EXPECT_EQ(num(__Dow(Dt(1))), 1);
  EXPECT_EQ(num(__Dow(N(1))), 0);
  EXPECT_EQ(str(__Dtos(d)), "20090305");
  EXPECT_EQ(str(__Dtos(Dt(0))), "00000000");
  EXPECT_EQ(num(__JulianDate(d)), 672009);
  EXPECT_EQ(errorOf([] { __Day(N(1)); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([] { __Dtos(S("20090305")); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([] { __CDow(nullptr); }), ARGUMENT_ERROR);
}

TEST_F(DatesTest, DateTextsFollowTheFormatSetting) {
  pObj_Node d = Dt(39877);
  EXPECT_EQ(str(__Dtoc(d)), "03/05/09");
  EXPECT_EQ(str(__Dtoc(d, S("dd/mm/yyyy"))), "05/03/2009");
  EXPECT_EQ(str(__Dtoc(d, S("yyyy-mm-dd"))), "2009-03-05");
  __SetCentury(__INIT_BOOL(1));
  EXPECT_EQ(str(__Dtoc(d)), "03/05/2009");
  __Set_DateFormat(S("dd.mm.yyyy"));
  EXPECT_EQ(str(__Dtoc(d)), "05.03.2009");
  EXPECT_EQ(num(__Ctod(S("05.03.2009"))), 39877);
  EXPECT_EQ(num(__Ctod(S("01/02/39"), S("dd/mm/yy"))), 50802);
  EXPECT_EQ(num(__Ctod(S("1/2/3"))), 0);
  EXPECT_EQ(__Ctod(S("1/2/3"))->objType, static_cast<uint32_t>(T_DATE));
  EXPECT_EQ(__IsValidDate(S("31/12/09"), S("dd/mm/yy")), 1);
  EXPECT_EQ(__IsValidDate(S("31/13/09"), S("dd/mm/yy")), 0);
  EXPECT_EQ(errorOf([] { __IsValidDate(S("01/01/09"), nullptr); }), ARGUMENT_ERROR);
  EXPECT_EQ(errorOf([] { __Set_DateFormat(N(1)); }), ARGUMENT_ERROR);
}

TEST_F(DatesTest, TimesFromTheClock) {
  lib::setClock(fixedClock);
  EXPECT_EQ(num(__Date()), 39877);
  EXPECT_EQ(str(__Time()), "13:04:05");
  EXPECT_EQ(str(__Seconds()), "13:04:05");
  EXPECT_EQ(str(__ElapTime(S("10:00:00"), S("09:59:30"))), "-00:00:30");
  EXPECT_FALSE(str(__GenTMS(N(2009))).empty());
  lib::setClock(nullptr);
  EXPECT_EQ(errorOf([] { __ElapTime(N(1), S("10:00:00")); }), ARGUMENT_ERROR);
}

}  // namespace

namespace {

// The console prints a date as __Dtoc writes it in the same setting: one
// date text for both, the empty date and mixed separators included.
TEST_F(DatesTest, TheConsoleWritesDatesAsDtoc) {
  const char* const formats[] = {"mm/dd/yy", "dd/mm/yyyy", "yyyy.mm-dd", "dd mm", "yyyymmdd", "d/m/y"};
  const double days[] = {0, 2, 39877, 2958465, -693593};
  for (const char* format : formats) {
    __Set(N(4), S(format));
    for (double day : days) {
      const std::string dtoc = str(__Dtoc(Dt(day)));
      EXPECT_EQ(core::formatValue(Dt(day)), dtoc) << format << " " << day;
    }
  }
  __Set(N(4), S("mm/dd/yy"));
  EXPECT_EQ(core::formatValue(Dt(0)), "        ") << "the empty date: blanks of the format's length";
  __Set(N(4), S("yyyy.mm-dd"));
  EXPECT_EQ(core::formatValue(Dt(39877)), "09-03-05") << "one separator, the format's last; century off";
}

}  // namespace
