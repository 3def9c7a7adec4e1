// CaretPos stepping and ordering; the assignments of DirectionalCaret and ILIWrapper.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>

#include "orvada/caret.h"

namespace {

CaretPos At(int index, int after) {
  CaretPos c;
  c.Index(index, after);
  return c;
}

void ExpectAt(const CaretPos& c, UINT index, BOOL after) {
  EXPECT_EQ(c.Index(), index);
  EXPECT_EQ(c.IsAfter(), after);
  EXPECT_EQ(c.IsBefore(), after ? FALSE : TRUE);
}

TEST(Caret, SingleStepsAtTheBeginning) {
  CaretPos c;
  EXPECT_EQ(c.AtBeginning(), TRUE);
  c++;
  ExpectAt(c, 0, TRUE);
  EXPECT_EQ(c.AtBeginning(), FALSE);
  c++;
  ExpectAt(c, 1, TRUE);
  c--;
  ExpectAt(c, 0, TRUE);
  c--;
  EXPECT_EQ(c.AtBeginning(), TRUE);
  c--;
  EXPECT_EQ(c.AtBeginning(), TRUE);

  // Away from the beginning a step keeps the flag, down to index 0.
  CaretPos d = At(2, 0);
  d++;
  ExpectAt(d, 3, FALSE);
  for (int i = 0; i < 4; ++i) d--;
  ExpectAt(d, 0, FALSE);
}

TEST(Caret, CountedStepsRepeatSingleSteps) {
  CaretPos c = At(3, 0);
  c += 2;
  ExpectAt(c, 5, FALSE);
  c -= -2;
  ExpectAt(c, 7, FALSE);

  for (int index = 0; index < 4; ++index) {
    for (int after = 0; after < 2; ++after) {
      for (int n = -6; n <= 6; ++n) {
        CaretPos single = At(index, after);
        for (int i = 0; i < (n < 0 ? -n : n); ++i) n < 0 ? single-- : single++;
        CaretPos plus = At(index, after);
        plus += n;
        CaretPos minus = At(index, after);
        minus -= -n;
        EXPECT_TRUE(plus == single) << index << "," << after << " += " << n;
        EXPECT_TRUE(minus == single) << index << "," << after << " -= " << -n;
      }
    }
  }
}

TEST(Caret, LargeCountsLandRight) {
  CaretPos c;
  c += 1000000000;
  ExpectAt(c, 999999999, TRUE);
  c -= 999999999;
  ExpectAt(c, 0, TRUE);
  c -= INT_MAX;
  EXPECT_EQ(c.AtBeginning(), TRUE);
  c += INT_MAX;
  ExpectAt(c, INT_MAX - 1, TRUE);

  // INT_MIN counts 2^31 steps, which -n in int could not hold.
  CaretPos d = At(10, 1);
  d += INT_MIN;
  EXPECT_EQ(d.AtBeginning(), TRUE);
  CaretPos e = At(5, 0);
  e -= INT_MIN;
  ExpectAt(e, 5u + 2147483648u, FALSE);
}

// The comparisons of `a` with `b` that hold.
std::string Relations(const CaretPos& a, const CaretPos& b) {
  std::string r;
  for (auto [holds, name] :
       {std::pair{a == b, "=="}, {a != b, "!="}, {a < b, "<"}, {a <= b, "<="}, {a > b, ">"}, {a >= b, ">="}}) {
    EXPECT_TRUE(holds == TRUE || holds == FALSE);
    if (holds) r += r.empty() ? name : std::string(" ") + name;
  }
  return r;
}

TEST(Caret, InsertionIndexAndOrdering) {
  CaretPos afterFour = At(4, 1);
  CaretPos beforeFive = At(5, 0);
  EXPECT_EQ(afterFour.InsertionIndex(), 5u);
  EXPECT_EQ(beforeFive.InsertionIndex(), 5u);
  EXPECT_EQ(Relations(afterFour, beforeFive), "!= < <=");
  EXPECT_EQ(Relations(beforeFive, afterFour), "!= > >=");
  EXPECT_EQ(Relations(afterFour, At(4, 1)), "== <= >=");
  EXPECT_EQ(Relations(At(0, 1), CaretPos()), "!= > >=");
  EXPECT_EQ(Relations(At(0, 1), At(1, 0)), "!= < <=");
  // The index compares as unsigned.
  EXPECT_EQ(Relations(At(-1, 0), At(INT_MAX, 1)), "!= > >=");
}

TEST(Caret, CopyAndAssignment) {
  CaretPos source = At(7, 1);
  CaretPos copy(source);
  EXPECT_TRUE(copy == source);
  CaretPos target;
  EXPECT_EQ(&(target = source), &target);
  ExpectAt(target, 7, TRUE);

  DirectionalCaret a, b;
  for (int i = 0; i < 4; ++i) a.m_dwField[i] = 0x80000000u + 0x11111111u * static_cast<DWORD>(i + 1);
  EXPECT_EQ(&(b = a), &b);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(b.m_dwField[i], a.m_dwField[i]);

  ILIWrapper w, v;
  w.m_dwValue = 0xDEADBEEF;
  EXPECT_EQ(&(v = w), &v);
  EXPECT_EQ(v.m_dwValue, 0xDEADBEEFu);
}

}  // namespace
