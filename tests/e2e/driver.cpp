#include "e2e/driver.h"
