// Anchor of the framework library; the areas add their own sources.
