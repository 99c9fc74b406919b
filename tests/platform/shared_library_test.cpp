#include "platform/shared_library.h"

#include <gtest/gtest.h>

#include <cstddef>

namespace {

using Length = std::size_t (*)(const char*);

TEST(SharedLibrary, LoadsASystemLibraryAndFindsItsFunctions) {
  const platform::SharedLibrary c_library("libc.so.6");
  ASSERT_TRUE(c_library.Loaded());
  const Length length = c_library.Symbol<Length>("strlen");
  ASSERT_NE(length, nullptr);
  EXPECT_EQ(length("ピルッコ"), 12u);
  EXPECT_EQ(c_library.Symbol<Length>("no_such_function_here"), nullptr);
}

TEST(SharedLibrary, WhatCannotBeLoadedAnswersNothing) {
  // A library that is not there, an empty name, and names with a "/",
  // which would be paths (the current folder's among them), not sonames.
  for (const char* name :
       {"libno-such-library.so.0", "", "./libc.so.6", "/lib/x86_64-linux-gnu/libc.so.6"}) {
    const platform::SharedLibrary library(name);
    EXPECT_FALSE(library.Loaded()) << name;
    EXPECT_EQ(library.Symbol<Length>("strlen"), nullptr) << name;
  }
}

}  // namespace
