// Placeholder translation unit for libraries whose folders hold no code yet.
