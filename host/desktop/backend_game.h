// The desktop's host game as start-up knows it (backend.h): the GLFW host.
#pragma once

#include "host/desktop/glfwgame.h"

using KpBackendGame = KpGlfwGame;
