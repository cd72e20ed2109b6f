int resourceOnlyModule;
