#include "RouteSource.h"

RouteSource::~RouteSource() = default;
