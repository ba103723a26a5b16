# Empty dependencies file for prvdrinfo_objects.
# This may be replaced when dependencies are built.
