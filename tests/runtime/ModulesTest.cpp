#include <gtest/gtest.h>

#include <cstdint>

#include "runtime/Modules.h"

namespace {

TEST(ModulesTest, ScaledProductsUseWideIntermediates) {
  const struct {
    int32_t a, b, c, expected;
  } signedCases[] = {
      {100000, 100000, 1000, 10000000},  // the product exceeds 32 bits
      {-7, 3, 2, -10},                   // truncated toward 0
      {7, -3, -2, 10},
      {INT32_MIN, 2, 4, INT32_MIN / 2},
      {5, 6, 0, 0},  // no divisor: 0 instead of a crash
  };
  for (const auto& testCase : signedCases) {
    EXPECT_EQ(MatrixInt(testCase.a, testCase.b, testCase.c), testCase.expected)
        << testCase.a << "*" << testCase.b << "/" << testCase.c;
  }
  EXPECT_EQ(MatrixCard(4000000000u, 3u, 4u), 3000000000u);
  EXPECT_EQ(MatrixCard(7u, 3u, 0u), 0u);
}

TEST(ModulesTest, LoadsALibraryAndFindsItsFunctions) {
  ModuleHandle module = OpenModule("libm.so.6");
  ASSERT_NE(module, nullptr);
  using Cosine = double (*)(double);
  auto cosine = reinterpret_cast<Cosine>(GetModuleFunction(module, "cos"));
  ASSERT_NE(cosine, nullptr);
  EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
  EXPECT_EQ(GetModuleFunction(module, "no_such_function"), nullptr);
  EXPECT_EQ(GetModuleFunction(module, nullptr), nullptr);
  CloseModule(module);

  EXPECT_EQ(OpenModule("no-such-library.so"), nullptr);
  EXPECT_EQ(OpenModule("C:\\no\\such\\library.so"), nullptr);
  EXPECT_EQ(OpenModule(nullptr), nullptr);
  EXPECT_EQ(GetModuleFunction(nullptr, "cos"), nullptr);
  CloseModule(nullptr);
}

TEST(ModulesTest, ProbeAnswersTheHighestLevel) { EXPECT_EQ(GetDirectXVersion(), 0x800u); }

}  // namespace
