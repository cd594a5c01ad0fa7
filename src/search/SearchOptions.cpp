// The program-wide search criteria.
#include "search/SearchOptions.h"

SearchOptions searchOptions;
