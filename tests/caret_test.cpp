// CaretPos stepping and ordering.
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
  EXPECT_EQ(c.AtBeginning(), index == 0 && !after ? TRUE : FALSE);
}

TEST(Caret, SingleSteps) {
  ExpectAt(CaretPos(), 0, FALSE);
  // At the beginning a step forward sets the flag; at index 0 a step back clears
  // it; anywhere else a step moves the index and keeps the flag.
  const int kSteps[][5] = {// index, after, step, index and after afterwards
                           {0, 0, +1, 0, 1}, {0, 1, +1, 1, 1}, {1, 1, -1, 0, 1}, {0, 1, -1, 0, 0},
                           {0, 0, -1, 0, 0}, {2, 0, +1, 3, 0}, {1, 0, -1, 0, 0}, {5, 1, -1, 4, 1}};
  for (const auto& s : kSteps) {
    CaretPos c = At(s[0], s[1]);
    s[2] > 0 ? c++ : c--;
    ExpectAt(c, s[3], s[4]);
  }
}

TEST(Caret, CountedStepsRepeatSingleSteps) {
  // Near 0 and near the top of the unsigned index, where a step forward wraps to
  // the beginning and the next one sets the flag.
  for (int index : {0, 1, 2, 3, -1, -2, -3}) {
    for (int after = 0; after < 2; ++after) {
      for (int n = -6; n <= 6; ++n) {
        CaretPos single = At(index, after);
        for (int i = 0; i < (n < 0 ? -n : n); ++i) n < 0 ? single-- : single++;
        CaretPos plus = At(index, after), minus = At(index, after);
        plus += n;
        minus -= -n;
        EXPECT_TRUE(plus == single && minus == single) << index << "," << after << " += " << n;
      }
    }
  }
  // Large counts, and INT_MIN, whose 2^31 steps -n in int could not hold.
  CaretPos c, d = At(10, 1), e = At(5, 0);
  c += INT_MAX;
  ExpectAt(c, INT_MAX - 1, TRUE);
  d += INT_MIN;
  ExpectAt(d, 0, FALSE);
  e -= INT_MIN;
  ExpectAt(e, 5u + 2147483648u, FALSE);
  CaretPos wrapping = At(-5, 0);
  wrapping += INT_MAX;  // 5 steps to the beginning, one past the first character
  ExpectAt(wrapping, INT_MAX - 6, TRUE);
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

TEST(Caret, InsertionIndexOrderingAndCopies) {
  EXPECT_EQ(At(4, 1).InsertionIndex(), 5u);
  EXPECT_EQ(At(5, 0).InsertionIndex(), 5u);
  EXPECT_EQ(Relations(At(4, 1), At(5, 0)), "!= < <=");
  EXPECT_EQ(Relations(At(5, 0), At(4, 1)), "!= > >=");
  EXPECT_EQ(Relations(At(4, 1), At(4, 1)), "== <= >=");
  EXPECT_EQ(Relations(At(0, 1), CaretPos()), "!= > >=");
  EXPECT_EQ(Relations(At(-1, 0), At(INT_MAX, 1)), "!= > >=") << "the index compares as unsigned";

  CaretPos source = At(7, 1);
  CaretPos copy(source), target;
  EXPECT_EQ(&(target = source), &target);
  EXPECT_TRUE(copy == source && target == source);
}

}  // namespace
