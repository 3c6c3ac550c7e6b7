#pragma once

// The codec's headers need FILE and size_t declared before them.
#include <cstddef>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>
