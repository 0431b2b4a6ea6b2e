// Test literals are code-page text (the sources are compiled to it); the file services take exact
// text. Exact(...) turns the one into the other, failing the test where it cannot.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/text.h"

inline std::string Exact(const std::string& shown) {
  std::string exact;
  EXPECT_TRUE(ExactOf(shown, exact)) << shown;
  return exact;
}
