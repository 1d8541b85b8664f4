// Anchor of the tools library (keeps it non-empty).
