// The page's host game as start-up knows it (backend.h): the web host.
#pragma once

#include "host/web/webgame.h"

using KpBackendGame = KpWebGame;
