#pragma once

class ModelContext;

// Saves the context; on failure the changes stay in it for the next save and
// the failure is only logged.
void saveQuietly(ModelContext &context);
