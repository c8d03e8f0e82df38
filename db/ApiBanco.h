#pragma once
// ApiBanco: the server's group database.
