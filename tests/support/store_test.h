#pragma once

#include "support/test_store.h"

#include <gtest/gtest.h>

// A store of its own for each test of a GoogleTest fixture.
class StoreTest : public ::testing::Test, protected TestStore { };
