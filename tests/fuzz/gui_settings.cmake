# The tool settings as the start-up reads them from a damaged INI file.
lx47_fuzz_target(settings_file fuzz_settings.cpp LIBS lx47_app)
